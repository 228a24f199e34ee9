// The widget under a memo: a multi-line edit box that holds its text itself (MemoText)
// and lays out and draws only the lines in view. Putting in a text of any size is a few
// passes over it; keys, mouse, clipboard, undo, input methods and the context menu are
// handled here as a Windows edit box handles them.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/MemoLineWidths.h"
#include "platform/MemoText.h"
#include "platform/MemoWidths.h"

class QTextLayout;

// A memo's text with LF line breaks, as the desktop's clipboard and screen readers take it.
QString WithLineFeeds(WideStringView Text);

class MemoView : public QAbstractScrollArea {
public:
    explicit MemoView(QWidget* Parent = nullptr);
    ~MemoView() override;

    const MemoText& Doc() const { return FDoc; }
    // A new text: the caret goes to the start, the view to the top, undo is forgotten.
    // False (and nothing changes) when the memo holds that text already.
    bool SetText(WideStringView Value);
    // Replaces a range by code; the caret and the selection move with the text. The change
    // cannot be undone and ends the undo history. Returns the end of the new text.
    int Replace(int Start, int End, WideStringView Value);

    // The selection runs from the anchor (where it began) to the caret.
    int Anchor() const { return FAnchor; }
    int Caret() const { return FCaret; }
    int SelStart() const { return std::min(FAnchor, FCaret); }
    int SelEnd() const { return std::max(FAnchor, FCaret); }
    void SetSelection(int Anchor, int Caret);
    // Replaces the selection by code; the caret goes behind the new text.
    void ReplaceSelection(WideStringView Value);
    void SelectAll();

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    void SetTabsWanted(bool Value) { FTabsWanted = Value; }
    // Asked on Return: false leaves the key to the window (its default button).
    std::function<bool()> ReturnsWanted;
    // After every change of the text, by the user or by code.
    std::function<void()> OnTextChanged;

    // Scrolling by lines as they are shown (a wrapped line counts each of its rows). The
    // rows in view are always as drawn; far from the view they may still be estimated, so
    // the top row's number may change as they are wrapped, the view keeping its text.
    // VisualLineCount, VisualLineOf and VisualLineStart count every row as drawn (they wrap
    // the rows before the one asked for first).
    int VisualLineCount() const;
    int VisualLineOf(int Pos) const;
    int VisualLineStart(int Row) const;
    int FirstVisibleLine() const;
    void ScrollLines(int Count);
    void EnsureCaretVisible();
    void EnsureVisible(int Pos);

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void scrollContentsBy(int Dx, int Dy) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery Query) const override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void timerEvent(QTimerEvent* Event) override;
    bool focusNextPrevChild(bool Next) override;

private:
    friend class MemoAccessible; // reads the geometry and edits as the user does
    struct Piece;                // a stretch of one row, laid out by Qt
    struct UndoStep {
        int Pos;
        WideString Removed, Inserted;
        bool Typed;
    };

    // Layout of rows: with word wrap the start of every row, else one row per line.
    void EnsureLayout() const;
    void Relayout() const;
    int RowBreak(int Start, int E, bool Exact = true, bool* Shaped = nullptr) const;
    // The stretch a row is wrapped in: a line, or the part of a very long line between two
    // places where a row always ends (memo_anchors).
    int SegmentStart(int Pos) const;
    int SegmentEnd(int Pos) const;
    // Where the row after the one that begins at Row begins (the text's length + 1 after
    // the last); Ended is set where a stretch ends with it.
    int NextRow(int Row, bool Exact, bool* Shaped = nullptr, bool* Ended = nullptr) const;
    std::vector<int> AnchorsIn(int First, int Last, int Origin) const;
    void BeginsRow(int Pos) const; // Pos made a row start (it is one as the rows are right)
    void RewrapAfterEdit(int Start, int OldEnd, int NewEnd) const;
    void AnchorsAfterEdit(int Start, int OldEnd, int NewEnd, int& First, int& Last) const;
    void WrapRowsFrom(size_t First, int SyncFrom, bool Exact, qint64 Ms) const;
    // Drafts: where rows are not final yet.
    size_t DraftAfter(int Pos) const; // the first draft that ends behind Pos
    bool Drafted(int From, int To) const;
    void AddDraft(int From, int To, bool Moved) const;
    // Makes draft Index final from its start on: until a row begins at or behind UpTo and
    // row UpToRow is final, or for Ms milliseconds (never when negative).
    void Finalize(size_t Index, int UpTo, size_t UpToRow, qint64 Ms = -1) const;
    void FinalBetween(int From, int To) const;         // the rows over From..To final
    void FinalThrough(int UpTo, size_t UpToRow) const; // every row up to there final
    void FinalRow(int Row) const;                      // row Row and its end final
    // Makes the rows in view final, keeping the row that holds Anchor Offset rows below
    // the view's top.
    void SettleView(int Anchor, int Offset) const;
    int RowCount() const; // the rows as they stand, estimated ones included
    int RowStart(int Row) const;
    int RowEnd(int Row) const; // before a line break or the next row
    int RowOf(int Pos) const;
    float EstimateWidth(int Start, int End) const;
    int PageRows() const;
    int TopPos() const;
    void UpdateScrollBars() const;

    int PieceCount(int Row) const;
    int PieceStart(int Row, int K) const;
    Piece PieceAt(int Row, int Pos) const;
    std::vector<Piece> PiecesIn(int Row, qreal Left, qreal Right) const;
    qreal PieceOrigin(int Row, int K) const;
    int PieceOfX(int Row, qreal X) const;
    QPointF CaretPoint(int Pos) const; // in the viewport, top of the row
    QPointF PointIn(int Row, int Pos) const;
    int CaretRow() const;
    void ScrollTo(int Row, int Pos); // Row into view (the rows in view final), Pos sideways
    int PosAt(QPointF Point) const;
    QRectF CaretRect() const;

    // Replaces a range, the caret, the selection and the rows following; undo is left alone.
    // Returns the end of the new text.
    int Edit(int Start, int End, WideStringView Value);
    // Editing as the user does it (undoable); false when read-only.
    bool UserReplace(int Start, int End, WideStringView Value, bool Typed = false);
    int NextCluster(int Pos) const;
    int PrevCluster(int Pos) const;
    void MoveCaret(int Pos, bool Select, bool AtRowEnd = false);
    void DragTo(QPointF At);       // the caret where a drag is, scrolling at the edges
    void DeleteOrMove(int Target); // Backspace and Delete
    void Copy() const;
    void Cut();
    void Paste(bool FromSelection = false);
    static size_t Units(const UndoStep& Step);
    void PushUndo(UndoStep Step);
    void EndTypingRun();
    void Undo();
    void Redo();
    void Changed();
    void RestartBlink();
    void OfferSelection() const;
    bool TakesKey(QKeyEvent* Key) const;
    bool HandleKey(QKeyEvent* Key);

    MemoText FDoc;
    int FAnchor = 0, FCaret = 0;
    bool FCaretAtRowEnd = false; // shown at the end of the row before (see CaretRow)
    qreal FDesiredX = -1;
    bool FWordWrap = true;
    bool FReadOnly = false;
    bool FTabsWanted = false;
    bool FDragging = false;
    bool FCaretShown = false;
    QString FPreedit;
    QBasicTimer FBlink;
    QBasicTimer FDragScroll;
    QPointF FDragAt;
    int FWordStart = -1, FWordEnd = -1; // the double-clicked word while its drag goes on
    std::deque<UndoStep> FUndo;
    size_t FUndoUnits = 0; // the texts FUndo holds
    std::vector<UndoStep> FRedo;

    // Layout caches (rebuilt on demand; mutable because queries rebuild them).
    mutable bool FLayoutValid = false;
    mutable int FLayoutWidth = -1;
    mutable std::vector<int> FRows; // row starts with word wrap
    // Where rows are not final yet: from a row start that is (From) to the end of a
    // stretch (To), the rows between estimated, their text measured without shaping, or
    // (Moved) the rows from before an edit, moved, until they fall back in step with the
    // rows wrapped anew. Each is made final a slice at a time between keys, and wherever
    // it is shown or asked for. Sorted, apart.
    struct Draft {
        int From, To;
        bool Moved;
    };
    mutable std::vector<Draft> FDrafts;
    mutable std::vector<int> FAnchors; // where rows always end inside very long lines
    mutable int FLineCount = 1;        // the lines FAnchors were found in
    static QElapsedTimer SinceEdit;    // in any memo: the estimated rows wait while one is typed in
    mutable QBasicTimer FRewrapLater;
    mutable MemoLineWidths FLineWidths; // without word wrap
    mutable MemoWidths FWidths;
    mutable qreal FRowHeight = 0;
    mutable bool FWidened = false; // a line's width changed as it was measured for drawing
};
