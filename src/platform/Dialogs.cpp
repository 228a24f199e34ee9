#include "platform/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QPointer>
#include <QStyle>
#include <algorithm>

#include "platform/CaptionText.h"
#include "platform/Clipbrd.h"
#include "platform/ExtCtrls.h"
#include "platform/ModalOpener.h"
#include "platform/QtStrings.h"
#include "platform/StdCtrls.h"
#include "text/FileUtils.h"

namespace {

// Splits at every occurrence of Sep; empty pieces are dropped.
TWideStrArray SplitNonEmpty(WideStringView S, WideChar Sep) {
    TWideStrArray out;
    size_t start = 0;
    while (start <= S.size()) {
        size_t end = S.find(Sep, start);
        if (end == WideStringView::npos) end = S.size();
        if (end > start) out.emplace_back(S.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool SameTextAscii(WideStringView A, WideStringView B) {
    if (A.size() != B.size()) return false;
    for (size_t i = 0; i < A.size(); ++i)
        if (WideUpperChar(A[i]) != WideUpperChar(B[i])) return false;
    return true;
}

} // namespace

// ---------------------------------------------------------------- file dialogs

QStringList QtNameFilters(WideStringView Filter) {
    QStringList out;
    QStringList parts = Q(Filter).split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& m : masks)
            m = m.trimmed();
        out << parts[i] + " (" + masks.join(u' ') + ")";
    }
    return out;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

TOpenDialog::~TOpenDialog() = default;

void TOpenDialog::SetInitialDir(const WideString& Value) {
    FInitialDir = Value;
    if (FInitialDir.size() > 1 && FInitialDir.back() == u'/') FInitialDir.pop_back();
}

bool TOpenDialog::Accept(const TWideStrArray& Names) {
    if (Names.empty()) return false;
    // The default extension without its dot, whether it was given with one or not: the
    // name gets exactly one dot before it.
    WideString defaultExt = FDefaultExt.empty() ? WideExtractFileExt(FFileName) : FDefaultExt;
    if (!defaultExt.empty() && defaultExt.front() == u'.') defaultExt.erase(0, 1);
    FFiles.Clear();
    bool differs = false;
    for (WideString name : Names) {
        if (name.front() != u'/' && !FInitialDir.empty())
            name = WideIncludeTrailingBackslash(FInitialDir) + name;
        WideString ext = WideExtractFileExt(name);
        if (ext.empty() && !defaultExt.empty()) {
            name += u'.' + defaultExt;
            ext = u'.' + defaultExt;
        }
        if (!defaultExt.empty() &&
            !SameTextAscii(WideStringView(ext).substr(ext.empty() ? 0 : 1), defaultExt))
            differs = true;
        FFiles.Add(name);
    }
    FFileName = FFiles.Get(0);
    Options &= ~(ofReadOnly | ofExtensionDifferent);
    if (differs) Options |= ofExtensionDifferent;
    return true;
}

bool TOpenDialog::DoCanClose() {
    bool canClose = true;
    if (OnCanClose) GuardedCall(this, [&] { OnCanClose(this, canClose); });
    return canClose;
}

bool TOpenDialog::AcceptIfCanClose(const TWideStrArray& Names) {
    WideString fileName = FFileName;
    TOpenOptions options = Options;
    if (!Accept(Names)) return false;
    if (DoCanClose()) return true;
    FFiles.Clear();
    FFileName = fileName;
    Options = options;
    return false;
}

// The file dialog window: choosing files asks the dialog component whether it may close.
class TOpenDialog::Window : public QFileDialog {
public:
    Window(TOpenDialog* Dialog, QWidget* Parent) : QFileDialog(Parent), FDialog(Dialog) {}
    void accept() override {
        // The names are taken as the dialog's answer only once it may close.
        // Folders to open and missing files are the window's own business.
        TWideStrArray names;
        for (const QString& f : selectedFiles()) {
            QFileInfo info(f);
            if (info.isDir() || (fileMode() != AnyFile && !info.exists())) {
                QFileDialog::accept();
                return;
            }
            names.push_back(f.toStdU16String());
        }
        if (FDialog->AcceptIfCanClose(names)) QFileDialog::accept();
    }

private:
    TOpenDialog* FDialog;
};

bool TOpenDialog::Execute() {
    const TModalOpener opener;
    if (const TModalInterceptor& answer = ModalInterceptor()) {
        // Answers that may not close the dialog are followed by the next request.
        while (true) {
            TModalRequest request;
            request.Kind = IsSave() ? TModalKind::SaveFile : TModalKind::OpenFile;
            request.Caption = FTitle;
            request.Text = FFileName;
            request.Flags = Options;
            request.Answer = FFileName;
            int result = 0;
            GuardedCall(this, [&] { result = answer(request); });
            if (!result) return false;
            TWideStrArray names = SplitNonEmpty(request.Answer, u'\0');
            if (!(Options & ofAllowMultiSelect) && names.size() > 1) names.resize(1);
            if (names.empty()) return false;
            if (AcceptIfCanClose(names)) return true;
        }
    }
    // The owner window takes the dialog along when it goes while the dialog is open.
    QPointer<Window> owned = new Window(this, BoxOwnerWidget());
    Window& dlg = *owned;
    if (!FTitle.empty()) dlg.setWindowTitle(Q(FTitle));
    dlg.setAcceptMode(IsSave() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (IsSave())
        dlg.setFileMode(QFileDialog::AnyFile);
    else if (Options & ofAllowMultiSelect)
        dlg.setFileMode(QFileDialog::ExistingFiles);
    else
        dlg.setFileMode((Options & ofFileMustExist) ? QFileDialog::ExistingFile
                                                    : QFileDialog::AnyFile);
    if (IsSave() && !(Options & ofOverwritePrompt))
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!FInitialDir.empty()) dlg.setDirectory(Q(FInitialDir));
    if (!FFileName.empty()) dlg.selectFile(Q(FFileName));
    QStringList filters = QtNameFilters(FFilter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        if (FilterIndex >= 1 && FilterIndex <= filters.size())
            dlg.selectNameFilter(filters[FilterIndex - 1]);
    }
    const bool accepted = dlg.exec() == QDialog::Accepted && owned;
    if (accepted) {
        const qsizetype chosen = filters.indexOf(dlg.selectedNameFilter());
        if (chosen >= 0) FilterIndex = int(chosen) + 1;
    }
    delete owned.data();
    return accepted; // the window took the names when it was allowed to close
}

// ---------------------------------------------------------------- font and colour

TFontDialog::TFontDialog(TComponent* AOwner)
    : TComponent(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
    const TModalOpener opener;
    if (const TModalInterceptor& answer = ModalInterceptor()) {
        TModalRequest request;
        request.Kind = TModalKind::Font;
        request.Text = FFont->Name();
        int result = 0;
        GuardedCall(this, [&] { result = answer(request); });
        if (!result) return false;
        TWideStrArray lines = SplitNonEmpty(request.Answer, u'\n');
        try {
            if (lines.size() > 0) FFont->SetName(lines[0]);
            if (lines.size() > 1) FFont->SetSize(std::stoi(U8(lines[1])));
            if (lines.size() > 2) FFont->SetStyle(TFontStyles(std::stoul(U8(lines[2]))));
            if (lines.size() > 3) FFont->SetColor(TColor(std::stol(U8(lines[3]))));
        } catch (const std::logic_error&) {
            throw Exception(std::string("Invalid font answer"));
        }
        return true;
    }
    // A font that is not installed is drawn in a stand-in: the dialog opens on the family
    // that is drawn, and a confirmed stand-in keeps the name the font was asked for.
    QFont initial = FFont->ToQFont();
    const QString drawn = QFontInfo(initial).family();
    initial.setFamily(drawn);
    bool ok = false;
    QFont f = QFontDialog::getFont(&ok, initial, BoxOwnerWidget());
    if (!ok) return false;
    if (f.family() != drawn) FFont->SetName(f.family().toStdU16String());
    FFont->SetSize(f.pointSize() > 0 ? f.pointSize() : FFont->Size());
    TFontStyles style = 0;
    if (f.bold()) style |= fsBold;
    if (f.italic()) style |= fsItalic;
    if (f.underline()) style |= fsUnderline;
    if (f.strikeOut()) style |= fsStrikeOut;
    FFont->SetStyle(style);
    return true;
}

bool TColorDialog::Execute() {
    const TModalOpener opener;
    if (const TModalInterceptor& answer = ModalInterceptor()) {
        TModalRequest request;
        request.Kind = TModalKind::Color;
        request.Answer = ColorToQColor(Color).name().toStdU16String();
        int result = 0;
        GuardedCall(this, [&] { result = answer(request); });
        if (!result) return false;
        QColor c(Q(request.Answer));
        if (!c.isValid()) return false;
        Color = QColorToColor(c);
        return true;
    }
    QColor c = QColorDialog::getColor(ColorToQColor(Color), BoxOwnerWidget());
    if (!c.isValid()) return false;
    Color = QColorToColor(c);
    return true;
}

// ---------------------------------------------------------------- message dialogs

WideString GetMessageCaption(int MsgType) {
    switch (MsgType) {
    case mtWarning:
        return u"Warning";
    case mtError:
        return u"Error";
    case mtInformation:
        return u"Information";
    case mtConfirmation:
        return u"Confirm";
    case mtCustom:
        return Application ? Application->Title() : WideString();
    default:
        throw Exception(std::string("Unexpected MsgType in GetMessageCaption."));
    }
}

WideString GetButtonCaption(int Button) {
    static const char16_t* const captions[] = {u"&Yes",       u"&No",         u"OK",      u"Cancel",
                                               u"&Abort",     u"&Retry",      u"&Ignore", u"&All",
                                               u"N&o to All", u"Yes to &All", u"&Help"};
    if (Button < 0 || Button > mbHelp)
        throw Exception(std::string("Unexpected MsgDlgBtn in GetButtonCaption."));
    return captions[Button];
}

WideString MessageDialogText(const WideString& Caption, const WideString& Message,
                             const TWideStrArray& ButtonCaptions) {
    const WideString divider = WideString(27, u'-') + u"\r\n";
    WideString buttons;
    for (const WideString& b : ButtonCaptions)
        buttons += WideStripHotkey(b) + u"   ";
    return divider + Caption + u"\r\n" + divider + Message + u"\r\n" + divider + buttons + u"\r\n" +
           divider;
}

namespace {

const char16_t* const kButtonNames[] = {u"Yes",     u"No",       u"OK",     u"Cancel",
                                        u"Abort",   u"Retry",    u"Ignore", u"All",
                                        u"NoToAll", u"YesToAll", u"Help"};
const int kModalResults[] = {mrYes,    mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
                             mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};

TBitmap IconBitmap(TMsgDlgType Type, int Size, TColor Background) {
    QStyle::StandardPixmap sp = Type == mtWarning       ? QStyle::SP_MessageBoxWarning
                                : Type == mtError       ? QStyle::SP_MessageBoxCritical
                                : Type == mtInformation ? QStyle::SP_MessageBoxInformation
                                                        : QStyle::SP_MessageBoxQuestion;
    QImage img = QApplication::style()->standardIcon(sp).pixmap(Size, Size).toImage();
    img = img.scaled(Size, Size).convertToFormat(QImage::Format_ARGB32);
    QColor bg = ColorToQColor(Background);
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf24bit);
    b.SetSize(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            QColor c = QColor::fromRgba(img.pixel(x, y));
            double a = c.alphaF();
            QColor mixed = QColor::fromRgbF(float(c.redF() * a + bg.redF() * (1 - a)),
                                            float(c.greenF() * a + bg.greenF() * (1 - a)),
                                            float(c.blueF() * a + bg.blueF() * (1 - a)));
            b.SetPixel(x, y, QColorToColor(mixed));
        }
    return b;
}

class TMessageForm : public TForm {
public:
    TMessageForm(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)
        : TForm(nullptr) {
        SetBorderStyle(bsDialog);
        Position = poScreenCenter;
        SetCaption(GetMessageCaption(DlgType));
        KeyPreview = true;
        QFontMetrics fm(Font()->ToQFont());
        int dux = std::max(fm.averageCharWidth(), 1), duy = fm.height();
        auto h = [dux](int n) { return n * dux / 4; };
        auto v = [duy](int n) { return n * duy / 8; };
        int margin = h(8), vmargin = v(8), hspace = h(10), vspace = v(10);
        int bw = h(50), bh = v(14), bspace = h(4);

        int iconSize = 0, left = margin;
        if (DlgType != mtCustom) {
            iconSize = 32;
            auto* image = new TImage(this);
            image->SetName(u"Image");
            image->SetParent(this);
            image->Picture().Assign(IconBitmap(DlgType, iconSize, Color()));
            image->SetBounds(margin, vmargin, iconSize, iconSize);
            left += iconSize + hspace;
        }
        QRect text =
            fm.boundingRect(QRect(0, 0, std::max(GetSystemMetrics(SM_CXSCREEN) / 2, 200), 10000),
                            Qt::TextWordWrap | Qt::TextExpandTabs, Q(Msg));
        auto* label = new TLabel(this);
        label->SetName(u"Message");
        label->SetParent(this);
        label->SetShowAccelChar(false);
        label->SetWordWrap(true);
        label->SetAutoSize(false);
        label->SetCaption(Msg);
        label->SetBounds(left, vmargin, text.width() + 2, text.height());

        std::vector<int> chosen;
        for (int b = mbYes; b <= mbHelp; ++b)
            if (Buttons & (1u << b)) chosen.push_back(b);
        if (chosen.empty()) chosen.push_back(mbOK);
        int groupWidth = int(chosen.size()) * bw + (int(chosen.size()) - 1) * bspace;
        int width = std::max(left + text.width() + 2, margin + groupWidth) + margin;
        int top = vmargin + std::max(iconSize, text.height()) + vspace;
        SetClientWidth(width);
        SetClientHeight(top + bh + vmargin);
        int x = (width - groupWidth) / 2;
        bool haveDefault = false;
        for (int b : chosen) {
            auto* button = new TButton(this);
            button->SetName(kButtonNames[b]);
            button->SetParent(this);
            button->SetCaption(GetButtonCaption(b));
            button->ModalResult = kModalResults[b];
            button->SetBounds(x, top, bw, bh);
            if (!haveDefault && (b == mbOK || b == mbYes)) {
                button->SetDefault(true);
                haveDefault = true;
            }
            if (b == mbCancel || (b == mbNo && !(Buttons & MsgDlgButton(mbCancel))))
                button->Cancel = true;
            FCaptions.push_back(GetButtonCaption(b));
            x += bw + bspace;
        }
        OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState Shift) {
            if (Key == 'C' && (Shift & ssCtrl) && !(Shift & (ssAlt | ssShift))) {
                QApplication::beep();
                Clipboard()->SetAsWideText(MessageDialogText(Caption(), FMessage, FCaptions));
            }
        };
        FMessage = Msg;
    }

private:
    WideString FMessage;
    TWideStrArray FCaptions;
};

} // namespace

TForm* WideCreateMessageDialog(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    return new TMessageForm(Msg, DlgType, Buttons);
}

int WideMessageDlgPos(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                      int HelpCtx, int X, int Y) {
    (void)HelpCtx;
    TForm* form = WideCreateMessageDialog(Msg, DlgType, Buttons);
    if (X >= 0) {
        form->Position = poDesigned;
        form->SetLeft(X);
    }
    if (Y >= 0) {
        form->Position = poDesigned;
        form->SetTop(Y);
    }
    int result = mrCancel;
    try {
        result = form->ShowModal();
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return result;
}

int WideMessageDlg(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx) {
    return WideMessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void WideShowMessage(const WideString& Msg) {
    WideMessageDlgPos(Msg, mtCustom, MsgDlgButton(mbOK), 0, -1, -1);
}
