// What the memo view's files share: the text's margins, how long rows are cut into pieces
// to be laid out, and how rows behind an edit are wrapped anew.
#pragma once

#include <QTextLayout>
#include <memory>

#include "platform/MemoView.h"

namespace memo_view {

// A row longer than this is laid out and drawn in pieces, so that a line of megabytes
// costs no more to show than the part of it in view.
constexpr int kPiece = 2048;
constexpr int kLeft = 3; // margin left of the text
constexpr int kTop = 1;
// Rows of text the font shapes are wrapped as drawn for this long when the text is put in
// (the rows in view are, whatever it takes), then this long in each pause between keys,
// every kRewrapPause ms.
constexpr qint64 kExactAtOnceMs = 40;
constexpr qint64 kExactBetweenKeysMs = 5;
constexpr int kRewrapPause = 10;
// Rows behind an edit that do not fall back in step with the old ones are wrapped anew for
// this long before the edit is answered (the rows in view are, whatever it takes), then
// for kExactBetweenKeysMs in each pause between keys, until they are back in step.
constexpr qint64 kRewrapAtOnceMs = 2;
constexpr qint64 kQuietMs = 200; // since the last edit, before they are taken up again

} // namespace memo_view

struct MemoView::Piece {
    int Start = 0, End = 0;
    qreal X = 0; // left edge in the text's coordinates
    std::shared_ptr<QTextLayout> Layout;
};
