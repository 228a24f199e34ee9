// The preview of one large input file through the working window as a person uses it:
// the windows built as the program builds them and shown (offscreen), one replacement
// ("fox" -> "cat") ticked, and then
//   select - a click on the file's row: the old memo loads the file, the new memo shows
//            the converted text, both are laid out and drawn;
//   edit   - with the file shown, one key typed into the replacement field: after the
//            half-second pause the new text is computed again and drawn (the pause itself
//            is taken off the time);
//   keys   - twenty presses of the arrow key in the old text: the caret's line label and
//            the new text's scrolling follow each key, answered before the next.
//   one line - select as above, of a file of the same size without a line break.
//   type     - ten letters typed into the middle of the old text, each answered (the
//            text changed, the view drawn) before the next; of the file of lines and of
//            the file of one line, with word wrap on and off ("20 ms a key" is 0.2 s).
//   breaks   - Enter, Backspace over the break it made, and Tab, twice at the
//            middle of the file of one line and of a line with a tab every 24 units,
//            with word wrap on and off.
//   label    - keys back and forth at the end of the file of lines shown with its LFs as
//            lone characters (the line break correction off), each answered with the
//            caret's line in its label.
//   show, type, settled (thai, japanese, chinese) - a file without "fox" and without
//            blanks selected, with word wrap on and off in the old memo, and ten letters
//            typed into it as above: Thai as it is written, Japanese with an emoji about
//            every hundred characters, and Chinese with its full-width punctuation, the
//            words drawn at random; as LF lines and as one line (QUORBEL_BENCH_SCRIPT_SIZES,
//            default 20 MB; the peer types into the one-line files only with
//            QUORBEL_BENCH_SLOW_PEERS set). "settled" types the letters only once the
//            editor has finished what it does in the background (rows wrapped, widths
//            measured), at a person's pace, and times every pass of the event loop from
//            the first key until the editor is settled again; only the keys count in its
//            time.
//   jump     - in the old text, right after the file is shown and right after a letter is
//            typed at its middle, with word wrap on and off: Ctrl+End, Ctrl+Home, the
//            scroll bar's thumb dragged with the mouse to its middle and to its end (the
//            sideways bar where the text is one row), a click into the text there, which
//            the new text follows, and the refresh that a key typed into the replacement
//            field brings while both texts show their end (the pause taken off). Each jump
//            is answered before the next, checked (one that did not do what it should is
//            marked and not counted) and printed on its own row. Of the file of lines and
//            of each script's (Chinese also of characters drawn from the whole block of
//            common ideographs) at the sizes above, the peer beside; of the files of one
//            line, the tabbed one and each script's one line at QUORBEL_BENCH_ONE_LINE_SIZES
//            (default "3 20"). "jump final" is the time from the click on the file's row
//            until every row of both memos is final, once, at QUORBEL_BENCH_FINAL_SIZES
//            (default 3 MB).
// Where the keys are timed one by one, the median key, the worst key and the longest pass
// of the event loop are printed too, with the passes over 50 ms and the load average. A
// median key over 20 ms, and a file that takes over a second to show, are marked "OVER
// TARGET"; so are, with word wrap, a jump whose median in a file of lines is over 100 ms,
// a single one there over 300 ms or in a line of up to 3 MB over 2 s, any pass of the
// event loop over 50 ms during the jumps, and Chinese whose rows of 3 MB take over 10 s
// to be final. A step still running after QUORBEL_BENCH_STEP_LIMIT seconds (default 120)
// gives up its round.
// Files of 1, 5 and 20 MB of LF lines; the time per megabyte should stay flat.
// The peer, "Qt alone", does the same work with Qt's own means: the file read and decoded,
// the text replaced with QString::replace, put into two plain-text editors of the same
// kind and drawn. Each measurement runs in a child process of its own; the rounds are
// interleaved; medians and the memory the work added are printed.
// QUORBEL_BENCH_ROUNDS sets the rounds (default 5); QUORBEL_BENCH_SIZES the sizes in MB
// (default "1 5 20"); QUORBEL_BENCH_MB, where either list of sizes is not set, the one
// size of both; QUORBEL_BENCH_KINDS the kinds of work (default all).
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTreeWidget>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "../tests/support/WidgetInput.h"
#include "SideBySide.h"
#include "mainwindow/MainBlock.h"
#include "mainwindow/u_prog.h"
#include "text/UCodeSysUtils.h"

namespace {

namespace fs = std::filesystem;

const std::string kLine = "The quick brown fox jumps over the lazy dog, line of text 0123.\n";

// The sizes in MB that the variable Name gives, or else QUORBEL_BENCH_MB, or Default.
std::vector<int> Sizes(const char* Name = "QUORBEL_BENCH_SIZES", const char* Default = "1 5 20") {
    const char* env = std::getenv(Name);
    if (!env || !*env) env = std::getenv("QUORBEL_BENCH_MB");
    std::istringstream in(env && *env ? env : Default);
    std::vector<int> sizes;
    for (int mb; in >> mb;)
        if (mb > 0) sizes.push_back(mb);
    return sizes;
}

// The files: LF lines; the same text with blanks for the line breaks (one line of
// megabytes, as minified files have them); one line with a tab every 24 units.
enum class Shape { Lines, OneLine, Tabbed };

// Cut into lines of 24 units, a tab for the break, "fox" in each.
const std::string kTabbedPiece = "The lazy fox jumps over\t";

// A file of about Megabytes MB of the given shape.
fs::path MakeFile(int Megabytes, Shape Kind) {
    const char* suffix = Kind == Shape::Lines ? "" : Kind == Shape::OneLine ? "_one" : "_tabbed";
    const fs::path file =
        fs::temp_directory_path() / ("quorbel_preview_" + std::to_string(::getpid()) + "_" +
                                     std::to_string(Megabytes) + suffix + ".txt");
    if (fs::exists(file)) return file; // made for another kind of work
    std::ofstream out(file, std::ios::binary);
    std::string line = Kind == Shape::Tabbed ? kTabbedPiece : kLine;
    if (Kind == Shape::OneLine) line.back() = ' ';
    for (size_t written = 0; written < size_t(Megabytes) << 20; written += line.size())
        out << line;
    return file;
}

// Text without blanks: Thai, as it is written; Japanese with an emoji about every hundred
// characters; Chinese with its full-width punctuation, of words, or of characters drawn
// from the whole block of common ideographs (U+4E00 to U+9FA5), so that hardly two rows
// share their glyphs. The words are drawn at random (from a fixed seed, so every run
// writes the same files): a text of repeated phrases would let the layouts a memo keeps
// hide what shaping its rows costs.
enum class Script { Thai, Japanese, Chinese, RandomChinese };

const char* Name(Script S) {
    switch (S) {
    case Script::Thai:
        return "thai";
    case Script::Japanese:
        return "japanese";
    case Script::Chinese:
        return "chinese";
    case Script::RandomChinese:
        break;
    }
    return "chinese-random";
}

// A piece of text that the script's files hold throughout: what the preview's replacement
// finds there.
const char16_t* Frequent(Script S) {
    return S == Script::Thai ? u"ไทย" : S == Script::Japanese ? u"の" : u"，";
}

QStringList Words(const char* Spaced) {
    return QString::fromUtf8(Spaced).split(u' ', Qt::SkipEmptyParts);
}

// Writes a script's text a word at a time, with the punctuation that follows the words.
class ScriptWriter {
public:
    explicit ScriptWriter(Script S) : FScript(S), FWords(PoolOf(S)) {}

    // The next word, with what follows it.
    QString Next() {
        QString word = FScript == Script::RandomChinese
                           ? RandomIdeographs()
                           : FWords[qsizetype(Draw(unsigned(FWords.size())))];
        if (FScript == Script::Thai) return word;
        if (FScript == Script::Japanese) {
            if (Draw(6) == 0)
                word += QChar(u'\u3001'); // 、
            else if (Draw(8) == 0)
                word += QChar(u'\u3002'); // 。
            FSinceEmoji += word.size();
            if (FSinceEmoji >= 100) {
                FSinceEmoji = 0;
                word += kEmoji[Draw(unsigned(kEmoji.size()))];
            }
            return word;
        }
        if (Draw(10) == 0) {
            const QString& pair = kBrackets[Draw(unsigned(kBrackets.size()))];
            word = pair[0] + word + pair[1];
        }
        // Clauses of a few words; a sentence of a few clauses.
        if (++FWordsInClause < 2 + Draw(5)) return word;
        FWordsInClause = 0;
        if (++FClauses < 1 + Draw(4)) return word + kClauseEnds[Draw(unsigned(kClauseEnds.size()))];
        FClauses = 0;
        return word + kSentenceEnds[Draw(unsigned(kSentenceEnds.size()))];
    }

private:
    // One to three ideographs, each drawn from the whole block.
    QString RandomIdeographs() {
        QString word;
        for (unsigned n = 1 + Draw(3); n > 0; --n)
            word += QChar(char16_t(0x4E00 + Draw(0x9FA5 - 0x4E00 + 1)));
        return word;
    }

    static QStringList PoolOf(Script S) {
        if (S == Script::RandomChinese) return {};
        if (S == Script::Thai)
            return Words("ภาษา ไทย เป็น ที่ เขียน ติดกัน โดย ไม่ เว้นวรรค ระหว่าง คำ ผู้อ่าน จึง ต้อง "
                         "แบ่ง เอง ตาม ความหมาย ของ ประโยค บ้าน โรงเรียน นักเรียน หนังสือ น้ำ กิน "
                         "ข้าว เดิน ทาง ไป มา วันนี้ พรุ่งนี้ อากาศ ร้อน เย็น สวย มาก ประเทศ เมือง "
                         "กรุงเทพ ครอบครัว ทำงาน คอมพิวเตอร์ โปรแกรม ข้อความ แปลง ไฟล์ สำคัญ ปัญหา "
                         "แก้ไข ดี ใหม่ เก่า ใหญ่ เล็ก เด็ก ตลาด ผลไม้ มะม่วง ทุเรียน ฝน ตก หนัก "
                         "ท้องฟ้า แม่น้ำ ภูเขา ทะเล ชายหาด เพื่อน ร้านอาหาร อร่อย เครื่องบิน รถไฟ");
        if (S == Script::Japanese)
            return Words(
                "日本語 の 文章 には 単語 間 に 空白 が なく 読む 人 区切り を 見つけます "
                "漢字 と 仮名 混ざって います 東京 電車 駅 朝 早く 出かけました 今日 天気 "
                "良い 桜 花 咲く 季節 友達 一緒 食べ 寿司 ラーメン コンピューター プログラム "
                "ファイル 変換 文字 速い 遅い 大きな 小さな 図書館 勉強 新しい 古い "
                "カタカナ ひらがな です ます から まで 山 川 海 空 雨 雪 会社 仕事 "
                "毎日 家族 音楽 映画 料理 美味しい");
        return Words("中文 句子 之间 没有 空格 读者 需要 自己 分词 我们 今天 明天 天气 很好 城市 "
                     "北京 上海 学校 学生 老师 书 电脑 程序 文件 转换 文字 编码 问题 解决 重要 "
                     "简单 复杂 世界 人民 发展 经济 文化 历史 语言 汉字 标点 符号 朋友 一起 吃饭 "
                     "喝茶 看书 写字 快乐 美丽 山水 春天 夏天 秋天 冬天 的 了 是 在 和 也 都 就 "
                     "不 很 这个 那个 因为 所以 但是 如果 可以 已经 正在 非常 长江 黄河 鳞 龘 "
                     "繁體 體驗 圖書館 鬱");
    }

    unsigned Draw(unsigned Below) { return unsigned(FRandom() % Below); }

    inline static const QStringList kEmoji =
        Words("😀 🎉 🌸 🍣 🚃 👍🏽 👨‍👩‍👧");
    inline static const QStringList kBrackets = Words("（） 【】 “” 「」");
    inline static const QStringList kClauseEnds = Words("， ， ， 、 ； ：");
    inline static const QStringList kSentenceEnds = Words("。 。 。 ！ ？");

    Script FScript;
    QStringList FWords;
    std::mt19937 FRandom{20240501}; // the same text on every run
    qsizetype FSinceEmoji = 0;
    unsigned FWordsInClause = 0, FClauses = 0;
};

// About Megabytes MB of the script in UTF-8, as LF lines of about a hundred characters
// or as one line.
fs::path MakeScriptFile(int Megabytes, Script S, bool Lines) {
    const fs::path file = fs::temp_directory_path() /
                          ("quorbel_preview_" + std::to_string(::getpid()) + "_" +
                           std::to_string(Megabytes) + Name(S) + (Lines ? "" : "_one") + ".txt");
    if (fs::exists(file)) return file; // made for another kind of work
    const qsizetype bytes = qsizetype(Megabytes) << 20;
    ScriptWriter writer(S);
    QString text;
    text.reserve(bytes / 2);
    qsizetype lineStart = 0;
    for (qsizetype written = 0; written < bytes;) {
        const QString word = writer.Next();
        text += word;
        written += word.toUtf8().size();
        if (Lines && text.size() - lineStart >= 100) {
            text += u'\n';
            ++written;
            lineStart = text.size();
        }
    }
    // Typed there, the letters stay where they are typed: between whole characters.
    auto between = [&] {
        const QString near = text.mid(text.size() / 2 - 16, 32);
        QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, near);
        chars.setPosition(16);
        return chars.isAtBoundary();
    };
    while (!between())
        text += QChar(u'\u3002');
    std::ofstream(file, std::ios::binary) << text.toStdString();
    return file;
}

size_t LineCount(int Megabytes, bool Breaks = true) {
    const size_t bytes = size_t(Megabytes) << 20;
    return Breaks ? (bytes + kLine.size() - 1) / kLine.size() : 1;
}

void Fail(const char* what) {
    std::fprintf(stderr, "preview benchmark: %s\n", what);
    std::_Exit(1);
}

// Everything that is waiting, drawing included, done; each pass of the event loop timed.
void Settle() {
    for (int i = 0; i < 3; ++i)
        bench::TimePass([] {
            QApplication::sendPostedEvents();
            QApplication::processEvents();
        });
}

void StartQt() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    InitApplication();
}

// ---- Ours: the working window ----

ProgramState* State = nullptr;

// The window shown with the file in its list, Searched replaced by "cat".
Tprog& ShownWindow(const fs::path& File, const char16_t* Searched = u"fox") {
    StartQt();
    State = new ProgramState(ProgramFolder());
    PrepareProgramWindows(*State);
    Tprog& p = *prog;
    p.Show();
    p.act_ers_text->SetChecked(true);
    p.act_ers_text_suchen->SetText(Searched);
    p.act_ers_text_ersetzen->SetText(u"cat");
    p.add2list(U16(File.string()), p.qulist);
    Settle();
    p.VorschauTimer->SetEnabled(false);
    return p;
}

void ClickFirstRow(Tprog& p) {
    QTreeWidget* tree = p.qulist->Tree();
    const QRect row = tree->visualItemRect(tree->topLevelItem(0));
    const QPoint at(row.left() + 10, row.center().y()); // on the file's name
    MouseAt(tree->viewport(), QEvent::MouseButtonPress, at);
    MouseAt(tree->viewport(), QEvent::MouseButtonRelease, at);
}

// The first line is FirstLine, or starts with it when the file has one line.
void CheckNewMemo(Tprog& p, size_t Lines, const char16_t* FirstLine) {
    if (p.vor_neu->Lines().Count() != int(Lines))
        Fail("the new memo has not one line per line of the file");
    const WideString first = p.vor_neu->Lines()[0];
    if (Lines == 1 ? !first.starts_with(FirstLine) : first != FirstLine)
        Fail("the new memo's first line is not converted");
}

// The pause between the last key and the refresh.
constexpr unsigned kPauseMs = 500;

const char16_t* kConverted = u"The quick brown cat jumps over the lazy dog, line of text 0123.";
const char16_t* kConvertedAfterEdit =
    u"The quick brown cats jumps over the lazy dog, line of text 0123.";

bench::Side OursSelect(const fs::path& File, size_t Lines) {
    bench::Side side("select", [Lines] {
        Tprog& p = *prog;
        ClickFirstRow(p);
        Settle();
        CheckNewMemo(p, Lines, kConverted);
    });
    side.prepare = [File] { ShownWindow(File); };
    return side;
}

// An "s" typed behind the replacement ("cat" becomes "cats"); the refresh follows when
// the timer fires, and is drawn. The time from the key to the timer's firing is the
// design's pause: it is returned, in seconds, to be taken off the time. The key and the
// refresh are each a pass of the event loop.
double TypeIntoReplacement(Tprog& p) {
    QElapsedTimer clock;
    clock.start();
    qint64 fired = -1;
    const TNotifyEvent refresh = p.VorschauTimer->OnTimer;
    p.VorschauTimer->OnTimer = [&](TObject* Sender) {
        fired = clock.elapsed();
        bench::TimePass([&] { refresh(Sender); });
    };
    TMemo* field = p.act_ers_text_ersetzen;
    field->SetSelStart(field->GetTextLen());
    bench::TimePass([&] { PressKey(field->Widget(), Qt::Key_S, QStringLiteral("s")); });
    const qint64 typed = clock.elapsed();
    while (p.VorschauTimer->Enabled())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    p.VorschauTimer->OnTimer = refresh;
    Settle();
    // A coarse timer may fire up to 5 % early (and the clock counts whole milliseconds).
    if (p.VorschauTimer->Interval() != kPauseMs || fired < 0 || fired - typed < kPauseMs * 9 / 10) {
        std::fprintf(stderr, "typed after %lld ms, fired after %lld ms\n", (long long)typed,
                     (long long)fired);
        Fail("the refresh came without its pause");
    }
    return double(fired - typed) / 1000;
}

// The key goes to the replacement field; the refresh follows when the timer fires.
bench::Side OursEdit(const fs::path& File, int Megabytes) {
    bench::Side side("edit", [Megabytes] {
        Tprog& p = *prog;
        bench::UntimedSeconds = TypeIntoReplacement(p);
        CheckNewMemo(p, LineCount(Megabytes), kConvertedAfterEdit);
    });
    side.prepare = [File] {
        Tprog& p = ShownWindow(File);
        ClickFirstRow(p);
        Settle();
    };
    return side;
}

// Keys that move the caret through the old text, each answered with the caret's line in
// its label and the new text scrolled along.
constexpr int kCaretKeys = 20;

bench::Side OursKeys(const fs::path& File) {
    bench::Side side("keys", [] {
        Tprog& p = *prog;
        for (int i = 0; i < kCaretKeys; ++i)
            bench::TimeKey([&] {
                PressKey(p.vor_alt->Widget(), Qt::Key_Down, QString());
                Settle();
            });
        const int line = p.vor_alt->LineFromChar(p.vor_alt->SelStart()) + 1;
        if (line < 2 || p.Label12->Caption() != U16(std::to_string(line)))
            Fail("the line label does not follow the caret");
    });
    side.prepare = [File] {
        Tprog& p = ShownWindow(File);
        ClickFirstRow(p);
        Settle();
        p.vor_alt->SetFocus();
        PressKey(p.vor_alt->Widget(), Qt::Key_Home, QString(), Qt::ControlModifier);
        Settle();
    };
    return side;
}

// ---- The peer: Qt alone ----

struct Editors {
    QWidget window;
    QPlainTextEdit* old = new QPlainTextEdit;
    QPlainTextEdit* now = new QPlainTextEdit;
    QLabel* line = new QLabel;
    Editors() {
        auto* layout = new QHBoxLayout(&window);
        for (QPlainTextEdit* e : {old, now}) {
            e->setFont(QFont(QStringLiteral("Courier New"), 10));
            e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            layout->addWidget(e);
        }
        line->setFixedWidth(80); // a longer number never changes the editors' widths
        layout->addWidget(line);
        window.resize(1000, 400);
        window.show();
        Settle();
    }
};

Editors* Peer = nullptr;

QString ReadFile(const fs::path& File) {
    QFile f(QString::fromStdString(File.string()));
    if (!f.open(QIODevice::ReadOnly)) Fail("the file cannot be read");
    return QString::fromUtf8(f.readAll());
}

// The peer's two editors, filled with the file and with its converted text.
void OpenPeerEditors(const fs::path& File) {
    StartQt();
    Peer = new Editors;
    const QString text = ReadFile(File);
    Peer->old->setPlainText(text);
    Peer->now->setPlainText(QString(text).replace(QStringLiteral("fox"), QStringLiteral("cat")));
}

void CheckPeer(size_t Lines, const char16_t* FirstLine) {
    if (Peer->now->blockCount() != int(Lines) + (Lines > 1))
        Fail("Qt alone: not one line per line of the file");
    if (!Peer->now->document()->firstBlock().text().startsWith(QString::fromUtf16(FirstLine)))
        Fail("Qt alone: the first line is not converted");
}

bench::Side PeerSelect(const fs::path& File, size_t Lines) {
    bench::Side side("Qt alone", [File, Lines] {
        const QString text = ReadFile(File);
        Peer->old->setPlainText(text);
        Peer->now->setPlainText(
            QString(text).replace(QStringLiteral("fox"), QStringLiteral("cat")));
        Settle();
        CheckPeer(Lines, kConverted);
    });
    side.prepare = [] {
        StartQt();
        Peer = new Editors;
    };
    return side;
}

bench::Side PeerEdit(const fs::path& File, int Megabytes) {
    bench::Side side("Qt alone", [File, Megabytes] {
        Peer->now->setPlainText(
            ReadFile(File).replace(QStringLiteral("fox"), QStringLiteral("cats")));
        Settle();
        CheckPeer(LineCount(Megabytes), kConvertedAfterEdit);
    });
    side.prepare = [File] {
        OpenPeerEditors(File);
        Settle();
    };
    return side;
}

bench::Side PeerKeys(const fs::path& File) {
    bench::Side side("Qt alone", [] {
        for (int i = 0; i < kCaretKeys; ++i)
            bench::TimeKey([&] {
                PressKey(Peer->old, Qt::Key_Down, QString());
                Peer->line->setNum(Peer->old->textCursor().blockNumber() + 1);
                Peer->now->verticalScrollBar()->setValue(Peer->old->verticalScrollBar()->value());
                Settle();
            });
        if (Peer->old->textCursor().blockNumber() < 1)
            Fail("Qt alone: the line label does not follow the caret");
    });
    side.prepare = [File] {
        OpenPeerEditors(File);
        Peer->old->setFocus();
        Settle();
    };
    return side;
}

// Letters typed into the middle of a text, one at a time, each answered before the next.
const QString kTyped = QStringLiteral("abcdefghij");

// One letter typed, timed until answered; its handling counts as a pass of the event loop.
void TypeLetter(QWidget* Editor, QChar Letter) {
    bench::TimeKey([&] {
        bench::TimePass(
            [&] { PressKey(Editor, Qt::Key_A + (Letter.unicode() - u'a'), QString(Letter)); });
        Settle();
    });
}

void TypeInto(QWidget* Editor) {
    for (QChar c : kTyped)
        TypeLetter(Editor, c);
}

// The file's text with the letters typed at its middle, with LF breaks; Untimed is the
// time taken for checking Text against it.
void CheckTyped(const fs::path& File, QString Text, const char* Fault) {
    QElapsedTimer check;
    check.start();
    QString expected = ReadFile(File);
    expected.insert(expected.size() / 2, kTyped);
    if (Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) != expected) Fail(Fault);
    bench::UntimedSeconds += double(check.elapsed()) / 1000;
}

// Where the middle of the file (in LF breaks) is in a memo's text, whatever its breaks.
int MemoPosOf(const QString& Memo, qsizetype Middle) {
    qsizetype pos = 0;
    for (qsizetype seen = 0; seen < Middle && pos < Memo.size(); ++pos)
        if (!(Memo[pos] == u'\r' && pos + 1 < Memo.size() && Memo[pos + 1] == u'\n')) ++seen;
    return int(pos);
}

// The file shown, the caret at the middle of the old text, in view.
void CaretToMiddle(const fs::path& File, bool Wrap, const char16_t* Searched = u"fox") {
    Tprog& p = ShownWindow(File, Searched);
    if (!Wrap) p.m_einst_voralt_zu->Click();
    ClickFirstRow(p);
    Settle();
    p.vor_alt->SetFocus();
    p.vor_alt->SetSelStart(
        MemoPosOf(QString::fromStdU16String(p.vor_alt->Text()), ReadFile(File).size() / 2));
    // The caret moved by a key, which brings it into view.
    PressKey(p.vor_alt->Widget(), Qt::Key_Right, QString());
    PressKey(p.vor_alt->Widget(), Qt::Key_Left, QString());
    Settle();
}

void PeerCaretToMiddle(const fs::path& File, bool Wrap) {
    OpenPeerEditors(File);
    if (!Wrap) Peer->old->setLineWrapMode(QPlainTextEdit::NoWrap);
    Peer->old->setFocus();
    QTextCursor at = Peer->old->textCursor();
    at.setPosition(int(ReadFile(File).size() / 2));
    Peer->old->setTextCursor(at);
    Peer->old->ensureCursorVisible();
    Settle();
}

bench::Side OursType(const fs::path& File, bool Wrap) {
    bench::Side side("type", [File] {
        TypeInto(prog->vor_alt->Widget());
        CheckTyped(File, QString::fromStdU16String(prog->vor_alt->Text()),
                   "the letters typed into the old text are not where they were typed");
    });
    side.prepare = [File, Wrap] { CaretToMiddle(File, Wrap); };
    return side;
}

// Enter, Backspace over the break it made, and Tab, twice at the middle of a long
// line, each answered before the next. The old memo takes tabs here, as the long-text
// editor's memo does.
const int kBreakRounds = 2;

void BreakKeys(QWidget* Editor) {
    for (int i = 0; i < kBreakRounds; ++i)
        for (int key : {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Tab})
            bench::TimeKey([&] {
                PressKey(Editor, key, key == Qt::Key_Tab ? QStringLiteral("\t") : QString());
                Settle();
            });
}

void CheckBreakKeys(const fs::path& File, QString Text, const char* Fault) {
    QElapsedTimer check;
    check.start();
    QString expected = ReadFile(File);
    expected.insert(expected.size() / 2, QString(kBreakRounds, u'\t'));
    if (Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) != expected) Fail(Fault);
    bench::UntimedSeconds = double(check.elapsed()) / 1000;
}

bench::Side OursBreakKeys(const fs::path& File, bool Wrap) {
    bench::Side side("breaks", [File] {
        BreakKeys(prog->vor_alt->Widget());
        CheckBreakKeys(File, QString::fromStdU16String(prog->vor_alt->Text()),
                       "Enter, Backspace and Tab did not leave the tabs where they were typed");
    });
    side.prepare = [File, Wrap] {
        CaretToMiddle(File, Wrap);
        prog->vor_alt->SetWantTabs(true);
    };
    return side;
}

// The peer's work on the file with the caret at the middle of its text.
bench::Side PeerAtMiddle(const fs::path& File, bool Wrap, void (*Work)(const fs::path&)) {
    bench::Side side("Qt alone", [File, Work] { Work(File); });
    side.prepare = [File, Wrap] { PeerCaretToMiddle(File, Wrap); };
    return side;
}

void PeerBreakKeys(const fs::path& File) {
    BreakKeys(Peer->old);
    CheckBreakKeys(File, Peer->old->toPlainText(),
                   "Qt alone: Enter, Backspace and Tab did not leave the tabs where typed");
}

// The caret at the end of a text whose LF breaks stay lone characters in the memo (the
// preview's line break correction off): keys back and forth, each answered with the
// caret's line in its label.
const int kLabelKeys = 10;

bench::Side OursLabel(const fs::path& File, size_t Lines) {
    bench::Side side("label", [Lines] {
        Tprog& p = *prog;
        for (int i = 0; i < kLabelKeys; ++i)
            bench::TimeKey([&] {
                PressKey(p.vor_alt->Widget(), i % 2 ? Qt::Key_Right : Qt::Key_Left, QString());
                Settle();
            });
        // Behind the file's last LF.
        if (p.Label12->Caption() != U16(std::to_string(Lines + 1)))
            Fail("the line label does not count the lone line feeds before the caret");
    });
    side.prepare = [File] {
        Tprog& p = ShownWindow(File);
        p.m_einst_nlkorrektur->Click();
        if (p.m_einst_nlkorrektur->Checked()) Fail("the line break correction is still on");
        ClickFirstRow(p);
        Settle();
        if (p.vor_alt->Lines().Count() != 1) Fail("the old memo breaks its lines at LF");
        p.vor_alt->SetFocus();
        PressKey(p.vor_alt->Widget(), Qt::Key_End, QString(), Qt::ControlModifier);
        Settle();
    };
    return side;
}

bench::Side PeerLabel(const fs::path& File, size_t Lines) {
    bench::Side side("Qt alone", [Lines] {
        for (int i = 0; i < kLabelKeys; ++i)
            bench::TimeKey([&] {
                PressKey(Peer->old, i % 2 ? Qt::Key_Right : Qt::Key_Left, QString());
                Peer->line->setNum(Peer->old->textCursor().blockNumber() + 1);
                Settle();
            });
        if (Peer->line->text() != QString::number(Lines + 1))
            Fail("Qt alone: the line label does not follow the caret");
    });
    side.prepare = [File] {
        OpenPeerEditors(File);
        Peer->old->setFocus();
        PressKey(Peer->old, Qt::Key_End, QString(), Qt::ControlModifier);
        Settle();
    };
    return side;
}

// The file's text, with LF breaks, is Text (the time taken for checking is not counted).
void CheckShown(const fs::path& File, QString Text, const char* Fault) {
    QElapsedTimer check;
    check.start();
    if (Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) != ReadFile(File)) Fail(Fault);
    bench::UntimedSeconds = double(check.elapsed()) / 1000;
}

// A file without "fox" selected, the old memo wrapping its rows or not: both memos filled
// and drawn.
bench::Side OursShow(const fs::path& File, bool Wrap) {
    bench::Side side("show", [File] {
        ClickFirstRow(*prog);
        Settle();
        CheckShown(File, QString::fromStdU16String(prog->vor_neu->Text()),
                   "the new memo does not show the file");
    });
    side.prepare = [File, Wrap] {
        Tprog& p = ShownWindow(File);
        if (!Wrap) p.m_einst_voralt_zu->Click();
        Settle();
    };
    return side;
}

bench::Side PeerShow(const fs::path& File, bool Wrap) {
    bench::Side side("Qt alone", [File] {
        const QString text = ReadFile(File);
        Peer->old->setPlainText(text);
        Peer->now->setPlainText(
            QString(text).replace(QStringLiteral("fox"), QStringLiteral("cat")));
        Settle();
        CheckShown(File, Peer->now->toPlainText(), "Qt alone: the file is not shown");
    });
    side.prepare = [Wrap] {
        StartQt();
        Peer = new Editors;
        if (!Wrap) Peer->old->setLineWrapMode(QPlainTextEdit::NoWrap);
    };
    return side;
}

// QUORBEL_BENCH_SLOW_PEERS, when set, has the peer type into the files of one line too.
bool SlowPeers() {
    const char* env = std::getenv("QUORBEL_BENCH_SLOW_PEERS");
    return env && *env;
}

void PeerType(const fs::path& File) {
    TypeInto(Peer->old);
    CheckTyped(File, Peer->old->toPlainText(),
               "Qt alone: the letters typed are not where they were typed");
}

// An editor is settled when none of its timers (nor its parts') fires more often than the
// caret blinks: whatever it does in the background, rows wrapped or widths measured
// between keys, is done.
bool Settled(QObject* Editor) {
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    const int blink = flash > 0 ? flash / 2 : 250;
    QList<QObject*> parts = Editor->findChildren<QObject*>();
    parts.append(Editor);
    for (QObject* part : parts)
        for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(part))
            if (timer.interval < blink) return false;
    return true;
}

// An editor busy in the background for longer than this never settles.
constexpr qint64 kSettleLimitMs = 30 * 60 * 1000;

// The event loop runs on until the editor is settled.
void WaitSettled(QObject* Editor) {
    QElapsedTimer waited;
    waited.start();
    while (!Settled(Editor)) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (waited.elapsed() > kSettleLimitMs) Fail("the editor never settles");
    }
    Settle();
}

// The pace of a person typing: a key every so many milliseconds.
constexpr qint64 kPaceMs = 150;

// The event loop runs, each pass timed, until Done.
void TimedPassesUntil(const std::function<bool()>& Done) {
    QElapsedTimer waited;
    waited.start();
    while (!Done()) {
        bench::TimePass([] { QApplication::processEvents(); });
        if (waited.elapsed() > kSettleLimitMs) Fail("the editor never settles");
    }
}

// The letters typed at a person's pace into the middle of a settled text: each key timed
// until answered, and every pass of the event loop timed, from the first key until the
// editor is settled again. Only the keys count in the work's time.
void TypeSettled(QWidget* Editor) {
    QElapsedTimer clock;
    clock.start();
    for (qsizetype i = 0; i < kTyped.size(); ++i) {
        TypeLetter(Editor, kTyped[i]);
        TimedPassesUntil([&] { return clock.elapsed() >= (i + 1) * kPaceMs; });
    }
    TimedPassesUntil([&] { return Settled(Editor); });
    double keys = 0;
    for (double k : bench::KeySeconds)
        keys += k;
    bench::UntimedSeconds = double(clock.elapsed()) / 1000 - keys;
}

bench::Side OursTypeSettled(const fs::path& File, bool Wrap) {
    bench::Side side("settled", [File] {
        TypeSettled(prog->vor_alt->Widget());
        CheckTyped(File, QString::fromStdU16String(prog->vor_alt->Text()),
                   "the letters typed into the settled text are not where they were typed");
    });
    side.prepare = [File, Wrap] {
        CaretToMiddle(File, Wrap);
        WaitSettled(prog->vor_alt->Widget());
    };
    return side;
}

bench::Side PeerTypeSettled(const fs::path& File, bool Wrap) {
    bench::Side side("Qt alone", [File] {
        TypeSettled(Peer->old);
        CheckTyped(File, Peer->old->toPlainText(),
                   "Qt alone: the letters typed are not where they were typed");
    });
    side.prepare = [File, Wrap] {
        PeerCaretToMiddle(File, Wrap);
        WaitSettled(Peer->old);
    };
    return side;
}

// ---- Jumps ----

// What the jumps need of an editor: the old text's view, where the keys and the mouse go,
// and the new text's, which follows a click into the old (the program's own doing in the
// working window; the peer follows as it does under the keys).
struct JumpEditor {
    const char* who; // before a fault: "" for ours
    QAbstractScrollArea* old;
    QAbstractScrollArea* now;
    std::function<int()> caret, length;
    std::function<QRect()> caretRect; // in the old view's viewport
    // After the click, the peer's own following, which is not checked (its editor moves
    // its view as it lays out its lines); none for ours, which follows by itself.
    std::function<void()> clicked;
    std::function<void()> refresh; // the preview's refresh, answered
    std::function<QString()> nowText;
};

QAbstractScrollArea* ScrollArea(QWidget* W) {
    auto* area = qobject_cast<QAbstractScrollArea*>(W);
    if (!area) Fail("the editor has no scroll bars");
    return area;
}

JumpEditor OurJumpEditor() {
    Tprog& p = *prog;
    QAbstractScrollArea* old = ScrollArea(p.vor_alt->Widget());
    return {"",
            old,
            ScrollArea(p.vor_neu->Widget()),
            [&p] { return p.vor_alt->SelStart(); },
            [&p] { return p.vor_alt->GetTextLen(); },
            [old] {
                return old->inputMethodQuery(Qt::ImCursorRectangle)
                    .toRect()
                    .translated(-old->viewport()->pos());
            },
            {},
            [&p] {
                const double pause = TypeIntoReplacement(p);
                bench::KeyUntimedSeconds = pause;
                bench::UntimedSeconds += pause;
            },
            [&p] { return QString::fromStdU16String(p.vor_neu->Text()); }};
}

JumpEditor PeerJumpEditor(const fs::path& File, const char16_t* Searched) {
    QPlainTextEdit* old = Peer->old;
    QPlainTextEdit* now = Peer->now;
    return {"Qt alone: ",
            old,
            now,
            [old] { return old->textCursor().position(); },
            [old] { return old->document()->characterCount() - 1; },
            [old] { return old->cursorRect(); },
            [old, now] { now->verticalScrollBar()->setValue(old->verticalScrollBar()->value()); },
            [now, File, Searched] {
                const int at = now->verticalScrollBar()->value();
                bench::TimePass([&] {
                    now->setPlainText(ReadFile(File).replace(QString::fromUtf16(Searched),
                                                             QStringLiteral("cats")));
                    now->verticalScrollBar()->setValue(at);
                });
                Settle();
            },
            [now] { return now->toPlainText(); }};
}

// The bar a person drags through the text: the vertical one, or the horizontal one where
// the text is one row.
QScrollBar* JumpBar(QAbstractScrollArea* Editor) {
    QScrollBar* vertical = Editor->verticalScrollBar();
    return vertical->maximum() > 0 ? vertical : Editor->horizontalScrollBar();
}

// Where the bar's thumb and its groove are drawn.
QRect BarPart(QScrollBar* Bar, QStyle::SubControl Part) {
    QStyleOptionSlider option;
    option.initFrom(Bar);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = Bar->orientation();
    if (Bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    option.minimum = Bar->minimum();
    option.maximum = Bar->maximum();
    option.sliderPosition = Bar->sliderPosition();
    option.sliderValue = Bar->value();
    option.singleStep = Bar->singleStep();
    option.pageStep = Bar->pageStep();
    option.upsideDown = Bar->invertedAppearance();
    return Bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, Part, Bar);
}

// The bar's thumb dragged with the mouse to Fraction of its way (to its end and beyond for
// 1), in a few moves, each drawn before the next.
void DragBar(QScrollBar* Bar, double Fraction) {
    const QRect thumb = BarPart(Bar, QStyle::SC_ScrollBarSlider);
    const QRect groove = BarPart(Bar, QStyle::SC_ScrollBarGroove);
    const bool vertical = Bar->orientation() == Qt::Vertical;
    const int size = vertical ? thumb.height() : thumb.width();
    const int way = (vertical ? groove.height() : groove.width()) - size;
    const int start = (vertical ? groove.top() : groove.left()) + size / 2;
    const QPoint from = thumb.center();
    QPoint to = from;
    (vertical ? to.ry() : to.rx()) =
        Fraction >= 1 ? start + way + size : start + int(way * Fraction);
    constexpr int kMoves = 4;
    bench::TimePass([&] { MouseAt(Bar, QEvent::MouseButtonPress, from); });
    Settle();
    for (int i = 1; i <= kMoves; ++i) {
        bench::TimePass([&] { MouseAt(Bar, QEvent::MouseMove, from + (to - from) * i / kMoves); });
        Settle();
    }
    bench::TimePass([&] { MouseAt(Bar, QEvent::MouseButtonRelease, to); });
    Settle();
}

// What a jump did wrong, with where the caret and the bars were.
std::string Wrong(const JumpEditor& E, const char* Fault) {
    const QRect caret = E.caretRect();
    char where[240];
    std::snprintf(where, sizeof where,
                  " (the caret at %d of %d, drawn at %d, %d in a view of %d x %d; the bars at "
                  "%d of %d and %d of %d; the new text's at %d of %d)",
                  E.caret(), E.length(), caret.center().x(), caret.center().y(),
                  E.old->viewport()->width(), E.old->viewport()->height(),
                  E.old->verticalScrollBar()->value(), E.old->verticalScrollBar()->maximum(),
                  E.old->horizontalScrollBar()->value(), E.old->horizontalScrollBar()->maximum(),
                  E.now->verticalScrollBar()->value(), E.now->verticalScrollBar()->maximum());
    return std::string(E.who) + Fault + where;
}

// (Asking where the caret is drawn makes the rows up to it final, as drawing does for the
// rows in view: after a jump that showed the caret, nothing more.)
bool CaretInView(const JumpEditor& E) {
    return E.old->viewport()->rect().adjusted(-2, -2, 2, 2).contains(E.caretRect().center());
}

// A key with its modifiers, handled as one pass of the event loop, and answered.
void JumpKey(QWidget* Editor, int Key) {
    bench::TimePass([&] { PressKey(Editor, Key, QString(), Qt::ControlModifier); });
    Settle();
}

// A memo's top row is the row asked for, or near it: rows far from the view may still be
// estimated, and the top row's number changes as they are made final while the view keeps
// its text; the two preview memos then show roughly the same place.
bool RoughlyAt(const QScrollBar* Bar, int Row) {
    return std::abs(Bar->value() - Row) <= Bar->maximum() / 50 + Bar->pageStep();
}

// Ctrl+End, Ctrl+Home, the bar dragged to its middle and to its end, a click into the text
// there (the new text follows it), and the preview's refresh while both texts show their
// end: each a step, checked before its time counts.
void Jumps(const JumpEditor& E, const fs::path& File, const char16_t* Searched) {
    QScrollBar* vertical = E.old->verticalScrollBar();
    bench::TimeStep(
        "ctrl+end", [&] { JumpKey(E.old, Qt::Key_End); },
        [&]() -> std::string {
            if (E.caret() != E.length())
                return Wrong(E, "Ctrl+End leaves the caret before the text's end");
            // (Qt's editor may leave its last, empty line below the view.)
            if (vertical->value() < vertical->maximum() - vertical->pageStep() || !CaretInView(E))
                return Wrong(E, "Ctrl+End does not show the text's end");
            return {};
        });
    bench::TimeStep(
        "ctrl+home", [&] { JumpKey(E.old, Qt::Key_Home); },
        [&]() -> std::string {
            if (E.caret() != 0)
                return Wrong(E, "Ctrl+Home leaves the caret behind the text's start");
            if (vertical->value() != 0 || E.old->horizontalScrollBar()->value() != 0 ||
                !CaretInView(E))
                return Wrong(E, "Ctrl+Home does not show the text's start");
            return {};
        });
    QScrollBar* bar = JumpBar(E.old);
    bench::TimeStep(
        "bar middle", [&] { DragBar(bar, 0.5); },
        [&]() -> std::string {
            if (std::abs(bar->value() - bar->maximum() / 2) > bar->maximum() / 20 + 1)
                return Wrong(E, "the scroll bar dragged to its middle does not stay there");
            return {};
        });
    bench::TimeStep(
        "bar end", [&] { DragBar(bar, 1); },
        [&]() -> std::string {
            if (bar->value() != bar->maximum() || bar->maximum() == 0)
                return Wrong(E, "the scroll bar dragged to its end does not stay there");
            return {};
        });
    QScrollBar* following = E.now->verticalScrollBar();
    bench::TimeStep(
        "click end",
        [&] {
            const QPoint at(20, E.old->viewport()->height() / 2);
            bench::TimePass([&] { ClickAt(E.old->viewport(), at); });
            if (E.clicked) E.clicked();
            Settle();
        },
        [&]() -> std::string {
            if (!CaretInView(E)) return Wrong(E, "the click does not put the caret in view");
            if (!E.clicked &&
                !RoughlyAt(following, std::min(vertical->value(), following->maximum())))
                return Wrong(E, "the new text does not follow the click into the old one");
            return {};
        });
    const int shown = following->value();
    bench::TimeStep("refresh", E.refresh, [&]() -> std::string {
        if (!E.clicked && !RoughlyAt(following, shown))
            return Wrong(E, "the refresh does not keep the new text where it was shown");
        const QString expected =
            ReadFile(File).replace(QString::fromUtf16(Searched), QStringLiteral("cats"));
        if (E.nowText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) != expected)
            return Wrong(E, "the refresh does not show the text converted anew");
        return {};
    });
}

// When the jumps come: right after the file is shown, or right after a letter is typed at
// the middle of the old text.
enum class JumpWhen { Shown, Typed };

bench::Side OursJump(const fs::path& File, const char16_t* Searched, bool Wrap, JumpWhen When) {
    bench::Side side("jump", [File, Searched] { Jumps(OurJumpEditor(), File, Searched); });
    side.prepare = [File, Searched, Wrap, When] {
        if (When == JumpWhen::Typed) {
            CaretToMiddle(File, Wrap, Searched);
            TypeLetter(prog->vor_alt->Widget(), u'a');
            return;
        }
        Tprog& p = ShownWindow(File, Searched);
        if (!Wrap) p.m_einst_voralt_zu->Click();
        ClickFirstRow(p);
        Settle();
        p.vor_alt->SetFocus();
        Settle();
    };
    return side;
}

bench::Side PeerJump(const fs::path& File, const char16_t* Searched, bool Wrap, JumpWhen When) {
    bench::Side side("Qt alone",
                     [File, Searched] { Jumps(PeerJumpEditor(File, Searched), File, Searched); });
    side.prepare = [File, Wrap, When] {
        if (When == JumpWhen::Typed) {
            PeerCaretToMiddle(File, Wrap);
            TypeLetter(Peer->old, u'a');
            return;
        }
        OpenPeerEditors(File);
        if (!Wrap) Peer->old->setLineWrapMode(QPlainTextEdit::NoWrap);
        Peer->old->setFocus();
        Settle();
    };
    return side;
}

// From the click on the file's row until every row of both memos is final (their
// background work done, as Settled sees it); the passes of the event loop timed meanwhile.
bench::Side OursFinal(const fs::path& File, const char16_t* Searched, bool Wrap) {
    bench::Side side("final", [] {
        Tprog& p = *prog;
        bench::GiveUpAfter limit("making every row final", bench::StepLimitSeconds());
        ClickFirstRow(p);
        TimedPassesUntil(
            [&] { return Settled(p.vor_alt->Widget()) && Settled(p.vor_neu->Widget()); });
    });
    side.prepare = [File, Searched, Wrap] {
        Tprog& p = ShownWindow(File, Searched);
        if (!Wrap) p.m_einst_voralt_zu->Click();
        Settle();
    };
    return side;
}

// QUORBEL_BENCH_KINDS, when set, names the kinds of work to run (their first words, as
// "breaks label"); by default every kind runs.
bool Wanted(const std::string& Name) {
    const char* env = std::getenv("QUORBEL_BENCH_KINDS");
    if (!env || !*env) return true;
    std::istringstream in(env);
    const std::string kind = Name.substr(0, Name.find(' '));
    for (std::string k; in >> k;)
        if (k == kind) return true;
    return false;
}

// A case with its targets: every key answered within 20 ms as the median, and a file
// selected shown within a second.
bench::Case WithTargets(std::string Name, std::vector<bench::Side> Sides) {
    bench::Case c{std::move(Name), std::move(Sides)};
    const std::string kind = c.name.substr(0, c.name.find(' '));
    if (kind == "select" || kind == "one" || kind == "show") c.targetSeconds = 1;
    c.keyTargetSeconds = 0.020;
    return c;
}

// The jump cases of one file: word wrap on and off, the jumps right after the file is
// shown and right after a letter is typed. The peer jumps in the files of lines. The
// targets, with word wrap: in a file of lines each jump's median at most 100 ms and none
// over 300 ms, in a line of up to 3 MB none over 2 s, and no pass of the event loop over
// 50 ms; without word wrap the figures only show a slip.
void AddJumps(std::vector<bench::Case>& Cases, const std::string& What, const fs::path& File,
              const char16_t* Searched, bool Lines, int Megabytes) {
    for (bool wrap : {true, false})
        for (JumpWhen when : {JumpWhen::Shown, JumpWhen::Typed}) {
            std::vector<bench::Side> sides{OursJump(File, Searched, wrap, when)};
            if (Lines) sides.push_back(PeerJump(File, Searched, wrap, when));
            bench::Case c{"jump " + What + (wrap ? " wrap " : " nowrap ") +
                              (when == JumpWhen::Shown ? "shown " : "typed ") +
                              std::to_string(Megabytes) + " MB",
                          std::move(sides)};
            if (wrap && Lines) {
                c.stepTargetSeconds = 0.100;
                c.stepWorstTargetSeconds = 0.300;
            }
            if (wrap && !Lines && Megabytes <= 3) c.stepWorstTargetSeconds = 2;
            c.noSlowPass = wrap && (Lines || Megabytes <= 3);
            Cases.push_back(std::move(c));
        }
}

// The time until every row of both memos is final, once, with word wrap on and off; at
// most 10 s for up to 3 MB of Chinese with word wrap.
void AddFinal(std::vector<bench::Case>& Cases, const std::string& What, const fs::path& File,
              const char16_t* Searched, bool Chinese, int Megabytes) {
    for (bool wrap : {true, false}) {
        bench::Case c{"jump final " + What + (wrap ? " wrap " : " nowrap ") +
                          std::to_string(Megabytes) + " MB",
                      {OursFinal(File, Searched, wrap)}};
        c.rounds = 1;
        if (wrap && Chinese && Megabytes <= 3) c.targetSeconds = 10;
        Cases.push_back(std::move(c));
    }
}

const Script kScripts[] = {Script::Thai, Script::Japanese, Script::Chinese, Script::RandomChinese};

} // namespace

int main() {
    std::vector<fs::path> files;
    std::vector<std::vector<bench::Case>> sizes; // the cases of each size
    std::vector<double> megabytes;
    for (int mb : Sizes()) {
        const fs::path file = MakeFile(mb, Shape::Lines), oneLine = MakeFile(mb, Shape::OneLine),
                       tabbed = MakeFile(mb, Shape::Tabbed);
        files.insert(files.end(), {file, oneLine, tabbed});
        std::vector<bench::Case> cases;
        auto add = [&](const std::string& Name, bench::Side Ours, bench::Side Peer) {
            const std::string name = Name + " " + std::to_string(mb) + " MB";
            if (Wanted(name))
                cases.push_back(WithTargets(name, {std::move(Ours), std::move(Peer)}));
        };
        add("select", OursSelect(file, LineCount(mb)), PeerSelect(file, LineCount(mb)));
        add("edit", OursEdit(file, mb), PeerEdit(file, mb));
        add("keys", OursKeys(file), PeerKeys(file));
        add("one line", OursSelect(oneLine, 1), PeerSelect(oneLine, 1));
        for (bool wrap : {true, false})
            for (const fs::path& f : {file, oneLine})
                add(std::string("type ") + (f == file ? "lines " : "one line ") +
                        (wrap ? "wrap" : "nowrap"),
                    OursType(f, wrap), PeerAtMiddle(f, wrap, PeerType));
        for (bool wrap : {true, false})
            for (const fs::path& f : {oneLine, tabbed})
                add(std::string("breaks ") + (f == tabbed ? "tabbed " : "") +
                        (wrap ? "wrap" : "nowrap"),
                    OursBreakKeys(f, wrap), PeerAtMiddle(f, wrap, PeerBreakKeys));
        add("label", OursLabel(file, LineCount(mb)), PeerLabel(file, LineCount(mb)));
        if (Wanted("jump")) AddJumps(cases, "lines", file, u"fox", true, mb);
        sizes.push_back(std::move(cases));
        megabytes.push_back(mb);
    }
    // QUORBEL_BENCH_SCRIPT_SIZES: the sizes of the files without blanks.
    for (int mb : Sizes("QUORBEL_BENCH_SCRIPT_SIZES", "20")) {
        std::vector<bench::Case> cases;
        for (Script s : {Script::Thai, Script::Japanese, Script::Chinese})
            for (bool lines : {true, false}) {
                const fs::path file = MakeScriptFile(mb, s, lines);
                files.push_back(file);
                for (bool wrap : {true, false}) {
                    const std::string what =
                        std::string(Name(s)) + (lines ? " lines " : " one line ") +
                        (wrap ? "wrap " : "nowrap ") + std::to_string(mb) + " MB";
                    if (Wanted("show"))
                        cases.push_back(WithTargets("show " + what,
                                                    {OursShow(file, wrap), PeerShow(file, wrap)}));
                    // Qt's editor takes minutes a key in a line of megabytes.
                    const bool peerTypes = lines || SlowPeers();
                    if (Wanted("type")) {
                        std::vector<bench::Side> sides{OursType(file, wrap)};
                        if (peerTypes) sides.push_back(PeerAtMiddle(file, wrap, PeerType));
                        cases.push_back(WithTargets("type " + what, std::move(sides)));
                    }
                    if (Wanted("settled")) {
                        std::vector<bench::Side> sides{OursTypeSettled(file, wrap)};
                        if (peerTypes) sides.push_back(PeerTypeSettled(file, wrap));
                        cases.push_back(WithTargets("settled " + what, std::move(sides)));
                    }
                }
            }
        if (Wanted("jump"))
            for (Script s : kScripts) {
                const fs::path file = MakeScriptFile(mb, s, true);
                files.push_back(file);
                AddJumps(cases, std::string(Name(s)) + " lines", file, Frequent(s), true, mb);
            }
        sizes.push_back(std::move(cases));
        megabytes.push_back(mb);
    }
    // QUORBEL_BENCH_ONE_LINE_SIZES: the sizes of the lines of megabytes the jumps go through;
    // QUORBEL_BENCH_FINAL_SIZES: those of the files whose rows are all made final.
    for (int mb :
         Wanted("jump") ? Sizes("QUORBEL_BENCH_ONE_LINE_SIZES", "3 20") : std::vector<int>()) {
        std::vector<bench::Case> cases;
        for (Shape shape : {Shape::OneLine, Shape::Tabbed}) {
            files.push_back(MakeFile(mb, shape));
            AddJumps(cases, shape == Shape::OneLine ? "one line" : "tabbed", files.back(), u"fox",
                     false, mb);
        }
        for (Script s : kScripts) {
            files.push_back(MakeScriptFile(mb, s, false));
            AddJumps(cases, std::string(Name(s)) + " one line", files.back(), Frequent(s), false,
                     mb);
        }
        sizes.push_back(std::move(cases));
        megabytes.push_back(mb);
    }
    for (int mb : Wanted("jump") ? Sizes("QUORBEL_BENCH_FINAL_SIZES", "3") : std::vector<int>()) {
        std::vector<bench::Case> cases;
        for (Shape shape : {Shape::Lines, Shape::OneLine, Shape::Tabbed}) {
            files.push_back(MakeFile(mb, shape));
            AddFinal(cases,
                     shape == Shape::Lines     ? "lines"
                     : shape == Shape::OneLine ? "one line"
                                               : "tabbed",
                     files.back(), u"fox", false, mb);
        }
        for (Script s : kScripts)
            for (bool lines : {true, false}) {
                files.push_back(MakeScriptFile(mb, s, lines));
                AddFinal(cases, std::string(Name(s)) + (lines ? " lines" : " one line"),
                         files.back(), Frequent(s),
                         s == Script::Chinese || s == Script::RandomChinese, mb);
            }
        sizes.push_back(std::move(cases));
        megabytes.push_back(mb);
    }
    std::vector<bench::Case> all;
    for (const auto& cases : sizes)
        all.insert(all.end(), cases.begin(), cases.end());
    bench::RunInterleaved(all, bench::Rounds());
    for (const fs::path& f : files)
        fs::remove(f);
    // Each size with its own MB/s.
    for (size_t i = 0, at = 0; i < sizes.size(); at += sizes[i].size(), ++i)
        if (!sizes[i].empty())
            bench::Report(
                "preview",
                std::vector<bench::Case>(all.begin() + std::ptrdiff_t(at),
                                         all.begin() + std::ptrdiff_t(at + sizes[i].size())),
                megabytes[i]);
    bench::ReportOverall("preview", all);
}
