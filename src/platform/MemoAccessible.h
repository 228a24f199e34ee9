// What a screen reader sees of a memo: the text, the caret and the selection of a MemoView
// through Qt's accessibility layer (the AT-SPI bridge on Linux), and edits made by the
// reader through the same undoable path the keyboard takes.
//
// Offsets count UTF-16 units with every line break as one "\n", as Qt's own editors show
// their text: readers step over a line break as one character. The memo breaks its lines
// at CR LF (a lone CR or LF is one character of its own), so an offset maps to the memo's
// position by the line it lies in (a binary search over the line starts), never by copying
// the text. The whole text (QAccessible::Value, text(0, count)) is copied only when a
// reader asks for it; the questions a reader asks as the caret moves (the character, word,
// sentence, line or paragraph at an offset) read one line at most, and a line of megabytes
// in pieces of 4096 units.
#pragma once

#include <QAccessibleWidget>

#include "text/WideTypes.h"

class MemoText;
class MemoView;

class MemoAccessible : public QAccessibleWidget,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface {
public:
    explicit MemoAccessible(MemoView* View);

    // Makes every MemoView answer through this class (once per program; cheap after).
    static void Install();

    // Offsets as readers count them and positions in the memo's text.
    static int OffsetOf(const MemoText& Doc, int Pos);
    static int PosOf(const MemoText& Doc, int Offset);
    static int CharacterCount(const MemoText& Doc);

    // The text a replacement takes away, kept (with a character on each side, as a
    // replacement may join or part a CR LF there) only while a reader listens. Made before
    // the replacement; Tell after it announces the removed and the inserted text.
    class Removal {
    public:
        Removal(const MemoText& Doc, int Start, int End)
            : Removal(Doc, Start, End, QAccessible::isActive()) {}
        // Keep: whether to keep the text (a reader listens, or a check asks what it hears).
        Removal(const MemoText& Doc, int Start, int End, bool Keep);
        // Start and End: where the inserted text begins and ends in the new text.
        void Tell(MemoView& View, int Start, int End) const;

        // What a reader hears of the replacement: at its offset At, Removed gave way to
        // Inserted (both empty: it hears nothing).
        struct Change {
            int At = 0;
            QString Removed, Inserted;
        };
        Change Heard(const MemoText& Doc, int Start, int End) const;

    private:
        bool FActive = false;
        int FFrom = 0, FOldLength = 0;
        WideString FAround;
    };
    // Tells a listening reader where the caret and the selection are, when they changed.
    static void Moved(MemoView& View);
    // Tells a listening reader that the memo became read-only or editable.
    static void ReadOnlyChanged(MemoView& View);

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType Type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text Kind) const override;

    // QAccessibleTextInterface
    void selection(int Index, int* Start, int* End) const override;
    int selectionCount() const override;
    void addSelection(int Start, int End) override;
    void removeSelection(int Index) override;
    void setSelection(int Index, int Start, int End) override;
    int cursorPosition() const override;
    void setCursorPosition(int Position) override;
    QString text(int Start, int End) const override;
    QString textBeforeOffset(int Offset, QAccessible::TextBoundaryType Boundary, int* Start,
                             int* End) const override;
    QString textAfterOffset(int Offset, QAccessible::TextBoundaryType Boundary, int* Start,
                            int* End) const override;
    QString textAtOffset(int Offset, QAccessible::TextBoundaryType Boundary, int* Start,
                         int* End) const override;
    int characterCount() const override;
    QRect characterRect(int Offset) const override;
    int offsetAtPoint(const QPoint& Point) const override;
    void scrollToSubstring(int Start, int End) override;
    QString attributes(int Offset, int* Start, int* End) const override;

    // QAccessibleEditableTextInterface: refused on a read-only memo.
    void deleteText(int Start, int End) override;
    void insertText(int Offset, const QString& Text) override;
    void replaceText(int Start, int End, const QString& Text) override;

private:
    MemoView* View() const;
    const MemoText& Doc() const;
    // The item of the kind Boundary around Offset, in offsets.
    void ItemAt(int Offset, QAccessible::TextBoundaryType Boundary, int& Start, int& End) const;

    // What the reader was last told (offsets), so that only changes are told; nothing yet
    // at first, so that the first move is told even when it made this interface.
    int FToldAnchor = -1, FToldCaret = -1;
};
