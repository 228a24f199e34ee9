#include "mainwindow/template_menu.h"

#include <array>

#include "dialogs/ProjectLinks.h"
#include "mainwindow/u_prog.h"

namespace {
struct LinkEntry {
    const char16_t* path;
    const char16_t* description;
};

constexpr std::array<LinkEntry, SoftwareMenuItems> kGerman{{
    {u"de/", u"Startseite von Quorbel"},
    {u"de/download", u"Aktuelle Version herunterladen"},
    {u"de/neuigkeiten", u"Neuigkeiten und Versionsgeschichte"},
    {u"de/hilfe", u"Anleitung"},
    {u"de/aktionen", u"Alle Aktionen im Überblick"},
    {u"de/regex", u"Reguläre Ausdrücke"},
    {u"de/konstanten", u"Dateikonstanten und Namensmuster"},
    {u"de/kodierungen", u"Kodierungen und Zeilenumbrüche"},
    {u"de/bilder", u"Texte als Bilder speichern"},
    {u"de/profile", u"Konfigurationen und Profile"},
    {u"de/umbenennen", u"Dateien umbenennen"},
    {u"de/transkription", u"Transkriptionstabellen"},
    {u"de/ersetzungslisten", u"Ersetzungslisten"},
    {u"de/kommandozeile", u"Kommandozeile und Protokoll"},
    {u"de/beispiele", u"Beispiele"},
    {u"de/fragen", u"Häufige Fragen"},
    {u"de/kontakt", u"Kontakt"},
}};

constexpr std::array<LinkEntry, SoftwareMenuItems> kEnglish{{
    {u"en/", u"Quorbel home page"},
    {u"en/download", u"Download the current version"},
    {u"en/news", u"News and version history"},
    {u"en/help", u"Manual"},
    {u"en/actions", u"All actions at a glance"},
    {u"en/regex", u"Regular expressions"},
    {u"en/constants", u"File constants and name patterns"},
    {u"en/encodings", u"Encodings and line breaks"},
    {u"en/pictures", u"Saving texts as pictures"},
    {u"en/profiles", u"Configurations and profiles"},
    {u"en/renaming", u"Renaming files"},
    {u"en/transliteration", u"Transliteration tables"},
    {u"en/replacement-lists", u"Replacement lists"},
    {u"en/commandline", u"Command line and processing log"},
    {u"en/examples", u"Examples"},
    {u"en/faq", u"Frequently asked questions"},
    {u"en/contact", u"Contact"},
}};

// A 16 x 16 picture for item Index: a rounded tile in one of six hues with a page mark.
TBitmap SoftwareIcon(int Index) {
    static constexpr TColor hues[] = {RGB(0x2C, 0x4E, 0x86), RGB(0x3A, 0x8D, 0x4B),
                                      RGB(0xC0, 0x6A, 0x1B), RGB(0x8A, 0x3C, 0x9E),
                                      RGB(0x1F, 0x8A, 0x9A), RGB(0xB0, 0x2E, 0x3A)};
    TBitmap bmp;
    bmp.SetSize(16, 16);
    TCanvas c(&bmp);
    c.Brush.Color = clWhite;
    c.FillRect(Rect(0, 0, 16, 16));
    c.Brush.Color = hues[Index % 6];
    c.Pen.Color = hues[Index % 6];
    c.Rectangle(1, 1, 15, 15);
    c.Pen.Color = clWhite;
    for (int line = 0; line <= Index / 6; ++line) {
        c.MoveTo(4, 5 + 3 * line);
        c.LineTo(12, 5 + 3 * line);
    }
    return bmp;
}

void FillMenu(Tprog& Window, TMenuItem* Menu, const char16_t* Prefix,
              const std::array<LinkEntry, SoftwareMenuItems>& Entries) {
    for (int i = 0; i < SoftwareMenuItems; ++i) {
        auto* item = new TMenuItem(&Window);
        item->SetName(Prefix + WideString(i < 10 ? u"" : u"1") + char16_t(u'0' + i % 10));
        item->SetCaption(WideString(ProjectSite) + u"/" + Entries[size_t(i)].path + u" - " +
                         Entries[size_t(i)].description);
        item->OnClick = [&Window](TObject* Sender) { Window.BrowseToMenuCaption(Sender); };
        item->SetImageIndex(i);
        Menu->Insert(i, item);
    }
}
} // namespace

void BuildSoftwareMenus(Tprog& Window) {
    if (!Window.softwareicons) {
        Window.softwareicons = new TImageList(&Window);
        Window.softwareicons->SetName(u"softwareicons");
        for (int i = 0; i < SoftwareMenuItems; ++i)
            Window.softwareicons->Add(SoftwareIcon(i));
    }
    Window.menu->SetImages(Window.softwareicons);
    FillMenu(Window, Window.m_soft_de, u"linkde", kGerman);
    FillMenu(Window, Window.m_soft_en, u"linken", kEnglish);
}
