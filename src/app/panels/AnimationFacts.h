#pragma once
// An animation's record in words, for the Models panel's timeline: its state changes (state ->
// animation, with the frames that go there) and its commands (a sound or an effect at frame N, a
// shift, a jump...).

#include <QStringList>

#include <cstddef>

namespace grottix {

struct TLevelAnimations;

QStringList StateChangeWords(const TLevelAnimations& tables, size_t animation);
QStringList CommandWords(const TLevelAnimations& tables, size_t animation);

}  // namespace grottix
