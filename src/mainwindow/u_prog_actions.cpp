// The action panels and the output options: the tick and fold button of every action group,
// the four entry lists (add, replace, select, delete, drag, keys) in the row formats the
// pipeline reads, the edit handlers, the key filters and the handlers of the output box.
#include <unordered_set>
#include <utility>

#include "desktop/FolderChooser.h"
#include "dialogs/KeyFilters.h"
#include "dialogs/LanguageCode.h"
#include "mainwindow/u_prog.h"
#include "platform/ShellServices.h"
#include "text/EightBitUtils.h"
#include "text/FileUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

namespace {

WideString lang(const char16_t* German, const char16_t* English) {
    return WideString(LanguageIsGerman() ? German : English);
}

// The last entry of the output and CSV combo boxes: clear the box for free input.
bool isCustomEntry(WideStringView Text) {
    return Text == u"Benutzerdefiniert.." || Text == u"Custom..";
}

bool isKeepPlaceholder(WideStringView Text) {
    return Text == u"<beibehalten>" || Text == u"<keep>";
}

// An integer as the class library reads it, on the 8-bit form of the text.
bool isInteger(const WideString& Text) {
    return IsNumeric(WideToAnsiCP(Text, 0));
}

// The regular-expression mark of a replace-text row from its two boxes.
WideString replaceMark(bool SearchRegex, bool ReplacementRegex) {
    if (SearchRegex) return ReplacementRegex ? u"x" : u"x/-";
    return ReplacementRegex ? u"-/x" : u"-";
}

void setRow(TListItem* Row, const WideString& Caption, std::initializer_list<WideString> Cells) {
    Row->SetCaption(Caption);
    Row->SubItems().Clear();
    for (const WideString& cell : Cells)
        Row->SubItems().Add(cell);
}

WideString subItem(const TListItem* Row, int Index) {
    const TUCodeStringList& cells = Row->SubItems();
    return Index < cells.Count() ? cells.Get(Index) : WideString();
}

void deleteSelectedRows(TListView* List) {
    TListItems& items = List->Items();
    auto update = items.Update();
    for (int i = items.Count() - 1; i >= 0; --i)
        if (items[i]->Selected()) items.Delete(i);
}

// A combo box chosen from its list only: no typed key reaches its text, nor the keys that
// change it without typing a character (Delete, and Shift+Insert, which pastes).
void chooseFromListOnly(TComboBox* Box) {
    Box->OnKeyPress = [](TObject*, WideChar& Key) { Key = 0; };
    Box->OnKeyDown = [](TObject*, uint16_t& Key, TShiftState Shift) {
        if (Key == VK_DELETE || (Key == VK_INSERT && (Shift & ssShift))) Key = 0;
    };
}

} // namespace

// ---- Binding ----

void Tprog::BindActionEvents() {
    for (const ActionTick& g : ActionTicks()) {
        g.tick->OnClick = [this](TObject* s) { ActionTickClick(s); };
        if (g.fold) g.fold->OnClick = [this](TObject* s) { ActionFoldClick(s); };
    }
    act_weitere->OnClick = [this](TObject* s) { act_weitereClick(s); };

    for (TListView* list :
         {act_ers_text_liste, act_ers_zeile_liste, act_anfuegen_liste, act_del_text_liste}) {
        list->OnDragOver = [](TObject* s, TObject* src, int, int, TDragState, bool& accept) {
            accept = src == s;
        };
        list->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
            act_ers_text_listeDragDrop(s, src, x, y);
        };
        list->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) {
            ListeKeyDown(s, k, sh);
        };
    }
    act_ers_text_liste->OnSelectItem = [this](TObject* s, TListItem*, bool) {
        act_ers_text_listeSelectItem(s);
    };
    act_ers_zeile_liste->OnSelectItem = [this](TObject* s, TListItem*, bool) {
        act_ers_zeile_listeSelectItem(s);
    };
    act_anfuegen_liste->OnSelectItem = [this](TObject* s, TListItem*, bool) {
        act_anfuegen_listeSelectItem(s);
    };
    act_del_text_liste->OnSelectItem = [this](TObject* s, TListItem*, bool) {
        act_del_text_listeSelectItem(s);
    };
    const std::pair<TButton*, TListView*> deleteSelected[] = {
        {act_ers_text_delmark, act_ers_text_liste},
        {act_ers_zeile_delselect, act_ers_zeile_liste},
        {act_anfuegen_delselect, act_anfuegen_liste},
        {act_del_text_delselect, act_del_text_liste}};
    for (const auto& [button, list] : deleteSelected)
        button->OnClick = [this, list](TObject*) {
            deleteSelectedRows(list);
            VorschauWennAktiv(nullptr);
        };
    act_ers_text_all->OnClick = [this](TObject* s) { act_ers_text_allClick(s); };
    act_ers_text_add->OnClick = [this](TObject* s) { act_ers_text_addClick(s); };
    act_ers_text_replace->OnClick = [this](TObject* s) { act_ers_text_replaceClick(s); };
    act_ers_zeile_add->OnClick = [this](TObject* s) { act_ers_zeile_addClick(s); };
    act_anfuegen_add->OnClick = [this](TObject* s) { act_anfuegen_addClick(s); };
    act_del_text_add->OnClick = [this](TObject* s) { act_del_text_addClick(s); };
    act_ers_text_delete->OnClick = [this](TObject* s) { act_ers_text_deleteClick(s); };
    act_ers_zeile_del->OnClick = [this](TObject* s) { act_ers_zeile_delClick(s); };
    act_anfuegen_del->OnClick = [this](TObject* s) { act_anfuegen_delClick(s); };
    act_del_text_delete->OnClick = [this](TObject* s) { act_del_text_deleteClick(s); };

    BindActionEditEvents();
    BindOutputEvents();
    BindWheelEvents();
}

// A click on the action box, a group panel or a label of a group lets the wheel scroll
// the action box.
void Tprog::BindWheelEvents() {
    std::unordered_set<TWinControl*> panels{ScrollBox1};
    for (const ActionGroup& g : FGroups)
        panels.insert({g.header, g.body});
    auto wheel = [this](TObject* s) { act_bewegenlassen(s); };
    for (TWinControl* panel : panels)
        panel->OnClick = wheel;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* label = dynamic_cast<TLabel*>(Components(i)))
            if (!label->OnClick && panels.contains(label->Parent())) label->OnClick = wheel;
}

void Tprog::act_bewegenlassen(TObject*) {
    WheelToActions = true;
    if (ScrollBox1->CanFocus()) ScrollBox1->SetFocus();
}

void Tprog::BindActionEditEvents() {
    for (TMemo* memo : {act_ers_text_suchen, act_ers_text_ersetzen, act_del_text_suchen})
        memo->OnChange = [this](TObject* s) { act_ers_text_suchenChange(s); };
    act_dateisplit_text->OnChange = [this](TObject*) {
        act_dateisplit_text->Font()->SetColor(clWindowText);
    };
    for (TCheckBox* box : {act_ers_text_suchen_regex, act_ers_text_ersetzen_regex})
        box->OnClick = [this](TObject* s) { act_ers_text_ersetzen_regexClick(s); };
    act_del_regex->OnClick = [this](TObject*) { act_ers_text_suchenChange(act_del_text_suchen); };
    act_del_zeile_text_regex->OnClick = [this](TObject* s) { act_del_zeile_text_regexClick(s); };
    act_del_zeile_trenner->OnClick = [this](TObject* s) { act_del_zeile_trennerClick(s); };
    act_newlinewindows->OnClick = [this](TObject* s) { act_newlinewindowsClick(s); };
    for (TRadioButton* rb : {act_ers_zeile_rb_zeile, act_ers_zeile_rb_text, act_ers_zeile_rb_regex})
        rb->OnClick = [this](TObject* s) { act_ers_zeile_rb_zeileClick(s); };
    for (TComboBox* box : {act_csv_trenner, act_csv_feldbegrenzer, act_csv_ende})
        box->OnChange = [this](TObject* s) { CustomEntryChange(s, false); };
    for (TMemo* memo :
         {act_ers_text_suchen, act_ers_text_ersetzen, act_ers_zeile_erstxt, act_anfuegen_text,
          act_del_text_suchen, act_del_zeile_text, act_dateizus_textfeld, act_dateisplit_text})
        memo->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) {
            elementeKeyDown(s, k, sh);
        };

    auto digits = [](TObject*, WideChar& k) { NumberKeyFilter(k); };
    for (TEdit* edit : {act_konst_start, act_zeilen_laengemax, act_zeilen_umbruchweg_range,
                        act_zeilen_nummern_beginn})
        edit->OnKeyPress = digits;
    for (TEdit* edit : {act_del_zeile_ende, act_del_zeile_from, act_del_zeile_char_less,
                        act_del_zeile_char_more, act_del_zeile_suchen})
        edit->OnKeyPress = [](TObject*, WideChar& k) {
            if (k != u',' && k != u'-') NumberKeyFilter(k);
        };
    for (TComboBox* box :
         {act_transkription, act_newline_alt, act_newline_neu, act_zeilen_sortierung})
        chooseFromListOnly(box);
}

void Tprog::BindOutputEvents() {
    for (TRadioButton* rb : {out_newimage, out_overwrite})
        rb->OnClick = [this](TObject* s) { out_newimageClick(s); };
    for (TComboBox* box : {out_ordner, out_name, out_format}) {
        box->OnChange = [this](TObject* s) { CustomEntryChange(s, true); };
        box->OnKeyPress = [this](TObject* s, WideChar& k) { out_nameKeyPress(s, k); };
    }
    for (TComboBox* box : {out_ordner, out_name})
        box->OnExit = [this](TObject* s) { out_ordnerExit(s); };
    out_ordner->OnDblClick = [this](TObject*) {
        out_ordner->SetSelStart(0);
        out_ordner->SetSelLength(int(out_ordner->Text().size()));
    };
    outordnerbt->OnClick = [this](TObject* s) { outordnerbtClick(s); };
}

// ---- Action groups ----

std::vector<Tprog::ActionTick> Tprog::ActionTicks() const {
    return {{act_ers_text, apanel11, act_ers_text_bb},
            {act_ers_zeile, apanel21, act_ers_zeile_bb},
            {act_anfuegen, apanel31, act_anfuegen_bb},
            {act_del_text, apanel41, act_del_text_bb},
            {act_del_zeile, apanel51, act_del_zeile_bb},
            {act_html, apanel61, act_html_bb},
            {act_zeilen, apanel71, act_zeilen_bb},
            {act_sonstige, apanel81, act_sonstige_bb},
            {act_dateizus, apanel91a, act_dateizus_bb},
            {act_dateisplit, apanel91b, act_dateisplit_bb},
            {act_konstanten, apanel91c, act_konstanten_bb},
            {act_transcript, apanel921, act_transcript_bb},
            {act_newline, apanel931, act_newline_bb},
            {act_convert, apanel941, act_convert_bb},
            {act_csv, apanel951, act_csv_bb}};
}

void Tprog::ActionTickClick(TObject* Sender) {
    for (const ActionTick& g : ActionTicks()) {
        if (Sender != g.tick) continue;
        if (m_einst_autocloseactions->Checked()) CloseAllActions();
        g.body->SetVisible(g.tick->Checked());
        PanelsAnordnen(Sender);
        return;
    }
}

void Tprog::ActionFoldClick(TObject* Sender) {
    for (const ActionTick& g : ActionTicks()) {
        if (Sender != g.fold) continue;
        g.body->SetVisible(!g.body->Visible());
        PanelsAnordnen(Sender);
        return;
    }
}

void Tprog::act_weitereClick(TObject* Sender) {
    const bool wasOpen = apanelweitere1->Visible();
    if (m_einst_autocloseactions->Checked()) CloseAllActions();
    apanelweitere1->SetVisible(!wasOpen);
    PanelsAnordnen(Sender);
}

// ---- Entry lists ----

void Tprog::act_ers_text_listeDragDrop(TObject* Sender, TObject* Source, int X, int Y) {
    auto* list = dynamic_cast<TListView*>(Sender);
    if (!list || Source != Sender) return;
    list->MoveSelectedItems(list->GetItemAt(X, Y));
    VorschauWennAktiv(nullptr);
}

void Tprog::ListeKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift) {
    auto* list = dynamic_cast<TListView*>(Sender);
    if (!list) return;
    if (Key == 'A' && (Shift & ssCtrl)) {
        list->SelectAll();
    } else if (Key == VK_DELETE) {
        deleteSelectedRows(list);
        VorschauWennAktiv(nullptr);
    }
}

void Tprog::act_ers_text_allClick(TObject*) {
    act_ers_text_liste->Items().Clear();
    VorschauWennAktiv(nullptr);
}

void Tprog::act_ers_text_addClick(TObject*) {
    if (act_ers_text_suchen->Text().empty()) return;
    setRow(act_ers_text_liste->Items().Add(), act_ers_text_suchen->Text(),
           {act_ers_text_ersetzen->Text(), replaceMark(act_ers_text_suchen_regex->Checked(),
                                                       act_ers_text_ersetzen_regex->Checked())});
    act_ers_text_suchen->Clear();
    act_ers_text_ersetzen->Clear();
    VorschauWennAktiv(nullptr);
}

void Tprog::act_ers_text_replaceClick(TObject*) {
    if (act_ers_text_suchen->Text().empty()) return;
    auto inform = [](const WideString& Text) {
        Application->MessageBox(Text, Application->Title(), MB_OK | MB_ICONINFORMATION);
    };
    if (act_ers_text_liste->Items().Count() == 0) {
        inform(lang(u"Bisher haben Sie keine Mehrfach-Ersetzungen definiert, die Sie ersetzen "
                    u"könnten. Bitte klicken Sie zunächst auf \"Hinzufügen\".",
                    u"Up to now, you have not defined any multiple replacements that could be "
                    u"replaced. Please click on \"Add\" first."));
        return;
    }
    TListItem* row = act_ers_text_liste->Selected();
    if (!row) {
        inform(lang(u"Bitte wählen Sie zunächst eine Mehrfach-Ersetzung aus, die Sie ersetzen "
                    u"möchten.",
                    u"Please select an item of your list of multiple replacements first."));
        return;
    }
    setRow(row, act_ers_text_suchen->Text(),
           {act_ers_text_ersetzen->Text(), replaceMark(act_ers_text_suchen_regex->Checked(),
                                                       act_ers_text_ersetzen_regex->Checked())});
    act_ers_text_suchen->Clear();
    act_ers_text_ersetzen->Clear();
    VorschauWennAktiv(nullptr);
}

void Tprog::act_ers_text_listeSelectItem(TObject*) {
    const TListItem* row = act_ers_text_liste->Selected();
    if (!row) return;
    act_ers_text_suchen->SetText(row->Caption());
    act_ers_text_ersetzen->SetText(subItem(row, 0));
    const WideString mark = subItem(row, 1);
    const std::pair<const char16_t*, std::pair<bool, bool>> marks[] = {{u"-", {false, false}},
                                                                       {u"x", {true, true}},
                                                                       {u"x/-", {true, false}},
                                                                       {u"-/x", {false, true}}};
    for (const auto& [text, boxes] : marks) {
        if (mark != text) continue;
        // The search box first: ticking the replacement box alone is undone by its handler.
        act_ers_text_suchen_regex->SetChecked(boxes.first);
        act_ers_text_ersetzen_regex->SetChecked(boxes.second);
    }
    VorschauWennAktiv(nullptr);
}

void Tprog::act_ers_zeile_addClick(TObject*) {
    if (act_ers_zeile_suchen->Text().empty()) return;
    WideString kind = lang(u"Zeile(n)", u"Line(s)");
    if (act_ers_zeile_rb_text->Checked())
        kind = u"Text";
    else if (act_ers_zeile_rb_regex->Checked())
        kind = u"RegEx";
    setRow(act_ers_zeile_liste->Items().Add(), kind,
           {act_ers_zeile_suchen->Text(), act_ers_zeile_erstxt->Text(), WideString()});
    act_ers_zeile_suchen->SetText(WideString());
    act_ers_zeile_erstxt->Clear();
    VorschauWennAktiv(nullptr);
}

void Tprog::act_ers_zeile_listeSelectItem(TObject*) {
    const TListItem* row = act_ers_zeile_liste->Selected();
    if (!row) return;
    if (row->Caption() == u"Text")
        act_ers_zeile_rb_text->SetChecked(true);
    else if (row->Caption() == u"RegEx")
        act_ers_zeile_rb_regex->SetChecked(true);
    else
        act_ers_zeile_rb_zeile->SetChecked(true);
    act_ers_zeile_suchen->SetText(subItem(row, 0));
    act_ers_zeile_erstxt->SetText(subItem(row, 1));
    VorschauWennAktiv(nullptr);
}

WideString Tprog::InsertCaption() const {
    WideString caption;
    if (act_anfuegen_vorn->Checked())
        caption = u"BEG";
    else if (act_anfuegen_hinten->Checked())
        caption = u"END";
    else
        caption = u"POS" + act_anfuegen_pos->Text();
    const WideString line = lang(u" ZEILE", u" LINE");
    if (act_anfuegen_jedezeile->Checked()) caption += line;
    if (act_anfuegen_datei->Checked()) caption += lang(u" DATEI", u" FILE");
    if (act_anfuegen_zeile_rb->Checked()) caption += line;
    if (act_anfuegen_zeile_txt_rb->Checked()) {
        caption += u" TEXT";
        if (act_anfuegen_zeile_txt_gk->Checked()) caption += u" E";
    }
    return caption;
}

void Tprog::act_anfuegen_addClick(TObject*) {
    if (act_anfuegen_text->Text().empty()) return;
    const bool byNumber = act_anfuegen_zeile_rb->Checked();
    const bool byText = act_anfuegen_zeile_txt_rb->Checked();
    if (byNumber && (!isInteger(act_anfuegen_zeile->Text()) || act_anfuegen_zeile->Text() == u"0"))
        return;
    if (byText && act_anfuegen_zeile_txt->Text().empty()) return;
    if (act_anfuegen_pos_rb->Checked() && !isInteger(act_anfuegen_pos->Text())) return;
    const WideString target = byNumber ? act_anfuegen_zeile->Text()
                              : byText ? act_anfuegen_zeile_txt->Text()
                                       : WideString();
    setRow(act_anfuegen_liste->Items().Add(), InsertCaption(), {target, act_anfuegen_text->Text()});
    act_anfuegen_text->Clear();
    if (byNumber) act_anfuegen_zeile->SetText(WideString());
    if (byText) act_anfuegen_zeile_txt->SetText(WideString());
    VorschauWennAktiv(nullptr);
}

void Tprog::act_anfuegen_listeSelectItem(TObject*) {
    const TListItem* row = act_anfuegen_liste->Selected();
    if (!row) return;
    act_anfuegen_text->SetText(subItem(row, 1));
    const WideString& caption = row->Caption();
    if (caption.size() >= 4) {
        if (caption[0] == u'B')
            act_anfuegen_vorn->SetChecked(true);
        else if (caption[0] == u'P')
            act_anfuegen_pos_rb->SetChecked(true);
        else
            act_anfuegen_hinten->SetChecked(true);
        const WideString target = subItem(row, 0);
        auto has = [&caption](WideStringView word) {
            return caption.find(word) != WideString::npos;
        };
        if (has(u"TEXT")) {
            act_anfuegen_zeile_txt_rb->SetChecked(true);
            act_anfuegen_zeile_txt->SetText(target);
        }
        if (has(u"DATEI") || has(u"FILE")) act_anfuegen_datei->SetChecked(true);
        if (has(u"ZEILE") || has(u"LINE")) {
            if (!target.empty()) {
                act_anfuegen_zeile_rb->SetChecked(true);
                act_anfuegen_zeile->SetText(target);
            } else {
                act_anfuegen_jedezeile->SetChecked(true);
            }
        }
        if (caption[0] == u'P') {
            WideString position = caption.substr(3);
            act_anfuegen_pos->SetText(position.substr(0, position.find(u' ')));
        }
    }
    VorschauWennAktiv(nullptr);
}

void Tprog::act_del_text_addClick(TObject*) {
    if (act_del_text_suchen->Text().empty()) return;
    setRow(act_del_text_liste->Items().Add(), act_del_text_suchen->Text(),
           {WideString(act_del_regex->Checked() ? u"x" : u"-"), WideString()});
    act_del_text_suchen->Clear();
    VorschauWennAktiv(nullptr);
}

void Tprog::act_del_text_listeSelectItem(TObject*) {
    const TListItem* row = act_del_text_liste->Selected();
    if (!row) return;
    act_del_text_suchen->SetText(row->Caption());
    act_del_regex->SetChecked(subItem(row, 0) == u"x");
    VorschauWennAktiv(nullptr);
}

void Tprog::act_ers_text_deleteClick(TObject*) {
    act_ers_text_suchen->Clear();
    act_ers_text_ersetzen->Clear();
    VorschauWennAktiv(nullptr);
}

void Tprog::act_ers_zeile_delClick(TObject*) {
    act_ers_zeile_suchen->SetText(WideString());
    act_ers_zeile_erstxt->Clear();
}

void Tprog::act_anfuegen_delClick(TObject*) {
    act_anfuegen_text->Clear();
    if (act_anfuegen_zeile_rb->Checked()) act_anfuegen_zeile->SetText(WideString());
    if (act_anfuegen_zeile_txt_rb->Checked()) act_anfuegen_zeile_txt->SetText(WideString());
}

void Tprog::act_del_text_deleteClick(TObject*) {
    act_del_text_suchen->Clear();
    VorschauWennAktiv(nullptr);
}

// ---- Edits ----

void Tprog::act_ers_text_suchenChange(TObject* Sender) {
    const std::pair<TMemo*, TLabel*> marks[] = {
        {act_ers_text_suchen, act_ers_text_suchen_regfehler},
        {act_ers_text_ersetzen, act_ers_text_ersetzen_regfehler},
        {act_del_text_suchen, act_del_text_suchen_regfehler}};
    for (const auto& [memo, label] : marks) {
        if (Sender != memo) continue;
        memo->Font()->SetColor(clWindowText);
        label->SetVisible(false);
    }
    VorschauVerzoegert(Sender);
}

void Tprog::act_ers_text_ersetzen_regexClick(TObject*) {
    if (act_ers_text_suchen_regex->Checked())
        act_ers_text_suchenChange(act_ers_text_suchen);
    else
        act_ers_text_ersetzen_regex->SetChecked(false);
}

void Tprog::act_del_zeile_text_regexClick(TObject* Sender) {
    const bool plain = !act_del_zeile_text_regex->Checked();
    act_del_zeile_text_anfang->SetEnabled(plain);
    act_del_zeile_text_grkl->SetEnabled(plain);
    VorschauVerzoegert(Sender);
}

void Tprog::act_del_zeile_trennerClick(TObject* Sender) {
    act_del_zeile_text->SetScrollBars(act_del_zeile_trenner->Checked() ? ssBoth : ssVertical);
    VorschauWennAktiv(Sender);
}

void Tprog::act_newlinewindowsClick(TObject* Sender) {
    m_einst_nlkorrektur->SetChecked(!act_newlinewindows->Checked());
    VorschauWennAktiv(Sender);
}

void Tprog::act_ers_zeile_rb_zeileClick(TObject* Sender) {
    const bool de = LanguageIsGerman();
    if (act_ers_zeile_rb_text->Checked()) {
        act_ers_zeile_la1->SetCaption(de ? u"Zeilen, die Text enthalten:"
                                         : u"Lines containing this text:");
        act_ers_zeile_la2->SetCaption(de ? u"Beispiel: \"text\"" : u"Example: \"text\"");
    } else if (act_ers_zeile_rb_regex->Checked()) {
        act_ers_zeile_la1->SetCaption(de ? u"Zeilen, die RegEx enthalten:"
                                         : u"Lines containing this RegEx:");
        act_ers_zeile_la2->SetCaption(de ? u"Beispiel: \"[ab|AB]\"" : u"Example: \"[ab|AB]\"");
    } else {
        act_ers_zeile_la1->SetCaption(de ? u"Zeilennummer(n):" : u"Line Number(s):");
        act_ers_zeile_la2->SetCaption(de ? u"Beispiel: \"1,7,39\"" : u"Example: \"1,7,39\"");
    }
    VorschauVerzoegert(Sender);
}

void Tprog::CustomEntryChange(TObject* Sender, bool OutputBox) {
    auto* box = dynamic_cast<TComboBox*>(Sender);
    if (box && isCustomEntry(box->Text())) {
        box->SetItemIndex(-1);
        box->SetText(WideString());
        if (box->CanFocus()) box->SetFocus();
    }
    if (OutputBox)
        VorschauPfad();
    else
        VorschauWennAktiv(Sender);
}

// ---- Output options ----

void Tprog::out_newimageClick(TObject*) {
    const bool newFiles = out_newimage->Checked();
    for (TControl* c : std::initializer_list<TControl*>{Label7, out_ordner, outordnerbt, Label8,
                                                        out_name, Label9, out_format})
        c->SetEnabled(newFiles);
    for (TComboBox* box : {out_ordner, out_name, out_format})
        box->SetSelLength(0);
    VorschauPfad();
}

void Tprog::out_nameKeyPress(TObject* Sender, WideChar& Key) {
    auto* box = dynamic_cast<TComboBox*>(Sender);
    if (!box) return;
    if (box != out_format && isKeepPlaceholder(box->Text())) box->SetText(WideString());
    // A folder path may hold "/" (it separates the folders), ":" and a backslash; a name none.
    if (!IsRefusedKey(Key, box == out_ordner ? kFolderPathRefused : kMaskRefused)) return;
    Key = 0;
    Application->MessageBox(lang(u"Die folgenden Zeichen sind nicht in Dateinamen erlaubt:\r\n"
                                 u"?, |, <, >, /, :, \", * und \\",
                                 u"The following characters are not allowed in file names:\r\n"
                                 u"?, |, <, >, /, :, \", * and \\"),
                            Application->Title(), MB_OK | MB_ICONINFORMATION);
}

void Tprog::out_ordnerExit(TObject* Sender) {
    auto* box = dynamic_cast<TComboBox*>(Sender);
    if (!box || !box->Text().empty()) return;
    const int entry = box == out_name ? 1 : 0;
    if (entry < box->Items().Count()) {
        box->SetItemIndex(entry);
        VorschauPfad();
    }
}

void Tprog::outordnerbtClick(TObject*) {
    const WideString previous = out_ordner->Text();
    WideString chosen = WideDirectoryExists(previous) ? previous : WideString();
    const WideString title = lang(u"Wählen Sie einen Ordner, in dem die Dateien gespeichert werden",
                                  u"Choose a Folder for Output");
    if (WideSelectDirectory(title, WideString(), chosen, sdNewUI | sdNewFolder, this) &&
        !chosen.empty())
        out_ordner->SetText(chosen);
    else
        out_ordner->SetText(previous);
    VorschauPfad();
}

// ---- The output settings window ----

void Tprog::SetOutputEncoding(TextEncodingCode codePage, bool byteOrderMark,
                              WideStringView caption) {
    ProgramState& state = FRunState ? *FRunState : FOwnRunState;
    state.AusgabeCodepage = codePage;
    state.WriteByteOrderMark = byteOrderMark;
    act_convert_label->SetCaption(WideString(caption));
}
