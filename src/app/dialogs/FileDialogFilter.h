#pragma once
// File-dialog filters written as "description|patterns|description|patterns…" (patterns separated
// by semicolons), turned into Qt's form "description (pattern pattern…);;…".
//
// Level files come in upper and lower case while the file system tells them apart, so every
// pattern is offered in both cases. A description that ends in its own parenthesised pattern list
// has that list replaced rather than repeated.

#include <QString>

namespace grottix {

QString QtFileFilter(const QString& filter);

}  // namespace grottix
