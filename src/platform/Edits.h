// Edits and memos: single-line and multi-line text fields.
#pragma once

#include <memory>

#include "platform/Controls.h"
#include "text/UCodeClasses.h"

class QLineEdit;
class MemoView;

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);
    // Positions and lengths in UTF-16 units.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    WideString SelText() const;
    void SetSelText(const WideString& Value);
    void SelectAll();
    void ClearSelection() { SetSelText(WideString()); }
    void Clear() { SetText(WideString()); }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    WideChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(WideChar Value);
    bool Modified = false;
    bool AutoSelect = true;
    TNotifyEvent OnChange;

protected:
    bool HasOwnContextMenu() const override { return true; }
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    WideString GetText() const override;
    // A single-line edit never holds a line break: CR and LF are dropped.
    void SetTextCore(const WideString& Value) override;
    virtual void Change();

private:
    QLineEdit* Edit() const;
    int FMaxLength = 0;
    WideChar FPasswordChar = 0;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo;

// The lines of a memo, split at CR LF (a lone CR or LF stays inside its line). Count
// leaves out a final empty line, so an empty memo has none; lines come back whole
// whatever their length.
class TMemoStrings : public TUCodeStrings {
public:
    explicit TMemoStrings(TMemo* Memo) : FMemo(Memo) {}
    WideString Get(int Index) const override;
    int GetCount() const override;
    void Put(int Index, const WideString& S) override;
    void InsertObject(int Index, const WideString& S, void* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    WideString GetTextStr() const override;
    // Every line break (CR LF, CR, LF, U+2028) becomes CR LF; the memo's Text is kept as
    // given.
    void SetTextStr(WideStringView Value) override;
    WideString operator[](int Index) const { return Get(Index); }

private:
    TMemo* FMemo;
};

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;
    TMemoStrings& Lines() { return *FLines; }
    const TMemoStrings& Lines() const { return *FLines; }

    // Positions count CR LF as two units, as the text reads. A selection set here brings
    // its caret into view.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    WideString SelText() const;
    void SetSelText(const WideString& Value);
    void SelectAll();
    void Clear() { SetText(WideString()); }
    // The length of Text without building it.
    int GetTextLen() const;

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    int MaxLength = 0;
    // Tab moves the focus on unless the memo wants tabs.
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value);
    bool WantReturns = true;
    bool WantsReturnKey() const override { return WantReturns; }
    bool WantsTabKey() const override { return FWantTabs && !ReadOnly(); }
    bool Modified = false;

    // The first line shown at the top, and scrolling by whole lines.
    int FirstVisibleLine() const;
    void ScrollLines(int Count);
    void ScrollCaret();

    // Line geometry of the text as the memo holds it (0-based; CR LF positions).
    int LineCount() const;
    int LineIndex(int Line) const;
    int LineLength(int Line) const;
    int LineFromChar(int Position) const;
    // The LF characters before Position, of CR LF and lone ones, without copying the text.
    int LineFeedsBefore(int Position) const;

    TNotifyEvent OnChange;

protected:
    bool HasOwnContextMenu() const override { return true; }
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    void WndProc(TMessage& Message) override;
    WideString GetText() const override;
    void SetTextCore(const WideString& Value) override;
    virtual void Change();

private:
    friend class TMemoStrings;
    MemoView* View() const;
    void ReplaceRange(int Start, int Length, const WideString& Text);
    std::unique_ptr<TMemoStrings> FLines;
    bool FWordWrap = true;
    bool FWantTabs = false;
    TScrollStyle FScrollBars = ssNone;
};
