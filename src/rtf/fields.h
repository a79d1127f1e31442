#pragma once

#include <QString>

namespace brimble::rtf {

// The target of a HYPERLINK field's instruction ("#name" for a \\l bookmark link), or an empty
// text for other fields.
QString hyperlinkTarget(QString instruction);

} // namespace brimble::rtf
