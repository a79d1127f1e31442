#pragma once

#include "controls/richedit/richedit.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

namespace brimble::test {

// Shows the control at a fixed size so that layout, hit tests and painting are real.
inline void showSized(QWidget& w, int width = 400, int height = 300) {
    w.resize(width, height);
    w.show();
    (void)QTest::qWaitForWindowExposed(&w);
}

inline void select(TRichEdit& e, int from, int to) {
    QTextCursor c(e.document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    e.setTextCursor(c);
}

inline void caretAt(TRichEdit& e, int pos) {
    select(e, pos, pos);
}

// The middle of the character at `pos`, in viewport coordinates.
inline QPoint charCenter(TRichEdit& e, int pos) {
    QTextCursor c(e.document());
    c.setPosition(pos);
    const QRect a = e.cursorRect(c);
    c.setPosition(pos + 1);
    const QRect b = e.cursorRect(c);
    return QPoint((a.left() + b.left()) / 2, a.center().y());
}

} // namespace brimble::test
