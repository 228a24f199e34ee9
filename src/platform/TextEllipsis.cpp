#include "platform/TextEllipsis.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

bool Fits(const QFontMetrics& fm, const QString& text, int width) {
    return fm.horizontalAdvance(text) <= width;
}

QString ElideEnd(const QFontMetrics& fm, const QString& text, int width) {
    for (qsizetype n = text.size(); n > 0; --n) {
        qsizetype cut = n;
        if (cut < text.size() && text.at(cut).isLowSurrogate()) --cut; // whole characters
        QString candidate = text.left(cut) + kEllipsis;
        if (Fits(fm, candidate, width)) return candidate;
        n = cut;
    }
    return kEllipsis;
}

QString ElideWord(const QFontMetrics& fm, const QString& text, int width) {
    for (qsizetype end = text.size() - 1; end > 0; --end) {
        if (text.at(end) != u' ' && text.at(end) != u'\t') continue;
        QString candidate = text.left(end) + kEllipsis;
        if (Fits(fm, candidate, width)) return candidate;
    }
    return kEllipsis;
}

QString ElidePath(const QFontMetrics& fm, const QString& text, int width) {
    qsizetype nameStart = text.lastIndexOf(u'/');
    if (nameStart <= 0) return ElideEnd(fm, text, width);
    QString tail = text.mid(nameStart); // "/file.txt"
    QString head = text.left(nameStart);
    // Folders leave from the end of the head, one at a time.
    while (true) {
        qsizetype slash = head.lastIndexOf(u'/');
        if (slash < 0) break;
        head.truncate(slash + 1);
        QString candidate = head + kEllipsis + tail;
        if (Fits(fm, candidate, width)) return candidate;
        if (slash == 0) break;
        head.truncate(slash);
    }
    return ElideEnd(fm, kEllipsis + tail, width);
}

} // namespace

QString ElideLine(const QFontMetrics& Metrics, const QString& Text, TEllipsisPosition Position,
                  int Width) {
    if (Position == epNone || Fits(Metrics, Text, Width)) return Text;
    switch (Position) {
    case epPathEllipsis:
        return ElidePath(Metrics, Text, Width);
    case epWordEllipsis:
        return ElideWord(Metrics, Text, Width);
    default:
        return ElideEnd(Metrics, Text, Width);
    }
}

QString ElideWrapped(const QFontMetrics& Metrics, const QString& Text, int Width, int Height) {
    auto fits = [&](const QString& t) {
        QRect r = Metrics.boundingRect(QRect(0, 0, Width, 100000),
                                       Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t);
        return r.height() <= Height;
    };
    QString text = Text;
    if (fits(text)) return text;
    QString body = Text;
    while (!body.isEmpty()) {
        qsizetype blank = std::max(body.lastIndexOf(u' '), body.lastIndexOf(u'\t'));
        body = blank < 0 ? QString() : body.left(blank);
        text = body + QStringLiteral("...");
        if (body.isEmpty() || fits(text)) break;
    }
    return body.isEmpty() ? QString() : text;
}
