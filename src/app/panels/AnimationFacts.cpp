#include "app/panels/AnimationFacts.h"

#include <QObject>

#include "level/LevelAnimations.h"

namespace grottix {

QStringList StateChangeWords(const TLevelAnimations& tables, size_t animation) {
    QStringList words;
    if (animation >= tables.animations.size() || !tables.usable[animation]) return words;
    const TAnimation& record = tables.animations[animation];
    for (size_t i = record.firstStateChange; i < size_t(record.firstStateChange) + record.stateChangeCount; ++i) {
        if (i >= tables.stateChanges.size()) break;
        const TStateChange& change = tables.stateChanges[i];
        for (size_t d = change.firstDispatch; d < size_t(change.firstDispatch) + change.dispatchCount; ++d) {
            if (d >= tables.dispatches.size()) break;
            const TAnimDispatch& dispatch = tables.dispatches[d];
            words << QObject::tr("state %1 → animation %2 (frames %3-%4, on at frame %5)")
                         .arg(change.state)
                         .arg(dispatch.nextAnimation)
                         .arg(dispatch.low)
                         .arg(dispatch.high)
                         .arg(dispatch.nextFrame);
        }
    }
    return words;
}

QStringList CommandWords(const TLevelAnimations& tables, size_t animation) {
    QStringList words;
    if (animation >= tables.commands.size()) return words;
    for (const TAnimCommand& command : tables.commands[animation]) {
        const auto& o = command.operands;
        switch (TAnimCommandKind(command.kind)) {
            case TAnimCommandKind::PositionShift:
                words << QObject::tr("moves by (%1, %2, %3) at its end").arg(o[0]).arg(o[1]).arg(o[2]);
                break;
            case TAnimCommandKind::Jump: words << QObject::tr("jumps (%1 up, %2 ahead)").arg(o[0]).arg(o[1]); break;
            case TAnimCommandKind::EmptyHands: words << QObject::tr("hands free"); break;
            case TAnimCommandKind::Kill: words << QObject::tr("gone at its end"); break;
            case TAnimCommandKind::Sound: words << QObject::tr("sound %1 at frame %2").arg(o[1] & 0x3FFF).arg(o[0]); break;
            case TAnimCommandKind::Effect: words << QObject::tr("effect %1 at frame %2").arg(o[1] & 0x3FFF).arg(o[0]); break;
            default: words << QObject::tr("command %1").arg(command.kind); break;
        }
    }
    return words;
}

}  // namespace grottix
