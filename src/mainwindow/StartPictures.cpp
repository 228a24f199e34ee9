#include "mainwindow/StartPictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

namespace {

// Draws Text centred in Box, shrinking the font until it fits (whatever fonts the machine has).
void DrawCentred(QPainter& Painter, const QString& Text, QFont Font, const QRect& Box) {
    while (Font.pixelSize() > 6 && QFontMetrics(Font).horizontalAdvance(Text) > Box.width())
        Font.setPixelSize(Font.pixelSize() - 1);
    Painter.setFont(Font);
    Painter.drawText(Box, Qt::AlignCenter, Text);
}

} // namespace

TBitmap DrawStartPicture(bool German) {
    TBitmap bitmap;
    bitmap.SetSize(StartPictureWidth, StartPictureHeight);
    QImage& image = bitmap.Image();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, StartPictureHeight);
    sky.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    sky.setColorAt(1, QColor(0x0b, 0x25, 0x3d));
    painter.fillRect(image.rect(), sky);

    // A stack of pages, the middle one being rewritten.
    painter.setPen(QPen(QColor(0xc8, 0xd6, 0xe5), 1));
    for (int i = 0; i < 3; ++i) {
        const QRect page(28 + i * 14, 26 + i * 10, 70, 90);
        painter.setBrush(QColor(0xf4 - i * 8, 0xf7 - i * 8, 0xfa - i * 8));
        painter.drawRect(page);
        for (int line = 0; line < 6; ++line) {
            const int y = page.top() + 14 + line * 12;
            painter.setPen(
                QPen(i == 2 && line % 2 ? QColor(0xe0, 0x7a, 0x1f) : QColor(0x7f, 0x8c, 0x99), 3));
            painter.drawLine(page.left() + 10, y, page.right() - 10 - (line * 7) % 20, y);
        }
        painter.setPen(QPen(QColor(0xc8, 0xd6, 0xe5), 1));
    }

    painter.setPen(Qt::white);
    QFont title;
    title.setBold(true);
    title.setPixelSize(42);
    // Beside the pages.
    DrawCentred(painter, QStringLiteral("Quorbel"), title, QRect(150, 40, 210, 60));
    QFont line;
    line.setPixelSize(17);
    painter.setPen(QColor(0xe8, 0xef, 0xf6));
    DrawCentred(painter,
                German ? QStringLiteral("Viele Textdateien auf einmal ändern")
                       : QStringLiteral("Change many text files at once"),
                line, QRect(12, 142, 356, 26));
    line.setPixelSize(13);
    painter.setPen(QColor(0xa9, 0xc0, 0xd6));
    DrawCentred(painter,
                German ? QStringLiteral("Ersetzen · Zeilen · Kodierungen · Bilder")
                       : QStringLiteral("Replace · Lines · Encodings · Pictures"),
                line, QRect(12, 170, 356, 22));
    DrawCentred(painter,
                German ? QStringLiteral("Klicken, um fortzufahren")
                       : QStringLiteral("Click to continue"),
                line, QRect(12, 202, 356, 22));
    return bitmap;
}
