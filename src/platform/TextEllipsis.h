// Texts shortened with an ellipsis to fit a width, as labels show them.
#pragma once

#include <QString>

class QFontMetrics;

enum TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis, epWordEllipsis };

// The text as it fits Width pixels in one line:
// - epEndEllipsis: cut anywhere, "…" appended;
// - epWordEllipsis: cut after a whole word, "…" appended ("…" alone when the first word
//   does not fit);
// - epPathEllipsis: whole folders taken out before the last "/" and replaced by "…",
//   keeping the start and the file name ("/home/…/file.txt"); when even that is too
//   wide, the end of it is cut as with epEndEllipsis;
// - epNone, or a text that fits: unchanged.
QString ElideLine(const QFontMetrics& Metrics, const QString& Text, TEllipsisPosition Position,
                  int Width);

// A word-wrapped text as it fits Width x Height: cut at its last blank or tab and "..."
// appended until it fits or is empty.
QString ElideWrapped(const QFontMetrics& Metrics, const QString& Text, int Width, int Height);
