// "Reset all Settings" (F2): the named controls of the working window and of the other
// windows back to their defaults; every control not named keeps its value. The working
// window's values come from the table of setting controls (the values the window starts
// with); the file filter, the renamer and the search window are set as listed here.
#include "dialogs/ConfigurationWindows.h"
#include "dialogs/u_transform.h"
#include "mainwindow/u_prog.h"

namespace {

// The texts of the working window, in the order they are reset.
constexpr TextKey kDefaultTexts[] = {
    {"Tprog", "inp_ordner"},
    {"Tprog", "act_ers_zeile_suchen"},
    {"Tprog", "act_anfuegen_zeile"},
    {"Tprog", "act_del_zeile_suchen"},
    {"Tprog", "act_zeilen_nummern_beginn"},
    {"Tprog", "act_zeilen_laengemax"},
    {"Tprog", "out_format"},
    {"Tprog", "out_name"},
    {"Tprog", "out_ordner"},
    {"Tprog", "act_zeilen_sortierung"},
};

// The ticks of the working window, one by one in this order (their click handlers run).
constexpr CheckKey kDefaultTicks[] = {
    {"Tprog", "inp_uv"},
    {"Tprog", "vor_okay"},
    {"Tprog", "vor_showalt"},
    {"Tprog", "vor_showneu"},
    {"Tprog", "act_ers_text"},
    {"Tprog", "act_ers_casesensitive"},
    {"Tprog", "act_ers_zeile"},
    {"Tprog", "act_anfuegen"},
    {"Tprog", "act_html"},
    {"Tprog", "act_del_casesensitive"},
    {"Tprog", "act_del_zeile"},
    {"Tprog", "act_del_text"},
    {"Tprog", "act_html_ersetzen"},
    {"Tprog", "act_html_reduzieren"},
    {"Tprog", "act_zeilen"},
    {"Tprog", "act_zeilen_sort"},
    {"Tprog", "act_zeilen_nummern"},
    {"Tprog", "act_zeilen_laenge"},
    {"Tprog", "act_zeilen_nummern5"},
    {"Tprog", "act_weitere"},
    {"Tprog", "act_sonstige"},
    {"Tprog", "act_dateizus_einzeln"},
    {"Tprog", "act_dateizus_text"},
    {"Tprog", "act_dateizus_vorschaueinzeln"},
    {"Tprog", "act_dateizus"},
    {"Tprog", "act_dateisplit_einzeln"},
    {"Tprog", "act_dateisplit"},
    {"Tprog", "out_overwrite"},
    {"Tprog", "out_newimage"},
    {"Tprog", "act_anfuegen_vorn"},
    {"Tprog", "act_anfuegen_hinten"},
    {"Tprog", "act_anfuegen_zeile_rb"},
    {"Tprog", "act_sons_uppercase"},
    {"Tprog", "act_sons_lowercase"},
    {"Tprog", "act_sons_uppercasebegin"},
    {"Tprog", "act_sons_mixedcase"},
    {"Tprog", "act_sons_keine"},
};

// The memos emptied and the lists cleared.
constexpr TextKey kDefaultMemos[] = {
    {"Tprog", "act_ers_text_suchen"},  {"Tprog", "act_ers_text_ersetzen"},
    {"Tprog", "act_ers_zeile_erstxt"}, {"Tprog", "act_anfuegen_text"},
    {"Tprog", "act_del_text_suchen"},  {"Tprog", "act_dateizus_textfeld"},
    {"Tprog", "act_dateisplit_text"},
};
constexpr RowsKey kDefaultLists[] = {
    {"Tprog", "act_ers_text_liste"},
    {"Tprog", "act_ers_zeile_liste"},
    {"Tprog", "act_anfuegen_liste"},
    {"Tprog", "act_del_text_liste"},
};
// The transliteration ticks, after the memos and lists.
constexpr CheckKey kDefaultTransliterationTicks[] = {
    {"Tprog", "act_konstanten"},        {"Tprog", "act_transcript"},
    {"Tprog", "act_trans_reverse"},     {"Tprog", "act_trans_grosszusatz"},
    {"Tprog", "act_trans_kleinzusatz"}, {"Tprog", "act_transcript_umlaute"},
};

// Every action group collapsed to its header.
constexpr const char16_t* kShownPanels[] = {
    u"apanel10", u"apanel20", u"apanel30",       u"apanel40",  u"apanel50",  u"apanel60",
    u"apanel70", u"apanel80", u"apanelweitere0", u"apanel90a", u"apanel90b", u"pa_bottom",
};
constexpr const char16_t* kHiddenPanels[] = {
    u"apanel11",  u"apanel21",  u"apanel31",  u"apanel41",       u"apanel51",
    u"apanel61",  u"apanel71",  u"apanel81",  u"apanelweitere1", u"apanel91a",
    u"apanel91b", u"apanel91c", u"apanel921",
};

template <class T> T* Named(TComponent* Window, const char16_t* Name) {
    return Window ? dynamic_cast<T*>(Window->FindComponent(Name)) : nullptr;
}

// A control of another window, found by name; nothing happens while that window does
// not exist or lacks the control.
void SetText(TComponent* Window, const char16_t* Name, const char16_t* Value) {
    if (auto* c = Named<TControl>(Window, Name)) c->SetText(Value);
}
void SetTick(TComponent* Window, const char16_t* Name, bool Value) {
    if (auto* box = Named<TCheckBox>(Window, Name)) box->SetChecked(Value);
    if (auto* radio = Named<TRadioButton>(Window, Name)) radio->SetChecked(Value);
}

void SetFont(TFont* Font, const FontSetting& Value) {
    Font->SetName(Value.name);
    Font->SetSize(Value.size);
    Font->SetColor(TColor(Value.colour));
    TFontStyles style = 0;
    if (Value.bold) style |= fsBold;
    if (Value.italic) style |= fsItalic;
    if (Value.underline) style |= fsUnderline;
    if (Value.strikeOut) style |= fsStrikeOut;
    Font->SetStyle(style);
}

void FilterDefaults(TForm* Filter) {
    SetText(Filter, u"ed_txt_allg", u"asc,ascii,nfo,scp,txt");
    SetText(Filter, u"ed_txt_web",
            u"htm,html,shtm,shtml,phtml,xhtml,hta,htc,xhtml,stm,ssi,js,as,asc,asr,xml,xsl,xsd,"
            u"dtd,xslt,rss,rdf,lbi,dwt,asp,asa,aspx,ascx,asmx,config,cs,css,cfm,cfml,cfc,tld,txt,"
            u"php,php3,php4,php5,jsp,wml,tpl,lassso,jsf,vb,vbs,vtm,vtml,inc,sql,java,edml,"
            u"master,sql");
    SetText(Filter, u"ed_txt_prog",
            u"a,a86,abc,ada,apf,asm,c,cc,cgi,cpp,ddp,dfm,dpr,erb,h,hh,hpp,js,java,pas,pl,res,"
            u"scpt,vbs");
    SetText(Filter, u"ed_txt_sys", u"backup,bak,ini,inf,log");
    SetText(Filter, u"ed_txt_sons",
            u"4gl,686,adp,ads,asic,cid,brl,cookie,diz,dtd,dyo,faq,func,fvx,fxcf,ibb,lua,mrc,out,"
            u"pgp,plist,plp,rtx,sam,sif,sqs,usl,wdl,wld,xxl");
    SetText(Filter, u"ed_txt_benutzer", u"");
    for (const char16_t* box : {u"cb_txt_allg", u"cb_txt_web", u"cb_txt_prog", u"cb_txt_sys",
                                u"cb_txt_sons", u"cb_asciicheck", u"cb_txt_benutzer"})
        SetTick(Filter, box, true);
    SetTick(Filter, u"alle", true);
    SetTick(Filter, u"auswahl", false);
}

void OutputDefaults(TForm* Output) {
    if (!Output) return;
    constexpr TextKey background{"Teinstausgabe", "Edit1"};
    constexpr CheckKey keepEncoding{"Teinstausgabe", "rb_beibehalten"};
    constexpr FontKey pictureFont{"Teinstausgabe", "Label3"};
    SetText(Output, u"Edit1", DesignText(background).c_str());
    SetTick(Output, u"rb_beibehalten", DesignChecked(keepEncoding));
    if (auto* sample = Named<TControl>(Output, u"Label3"))
        SetFont(sample->Font(), DesignFont(pictureFont));
}

void RenamerDefaults(TForm* Renamer, TForm* RenamerFilter) {
    for (const char16_t* edit : {u"quordner", u"suchenalt", u"suchenneu"})
        SetText(Renamer, edit, u"");
    SetTick(Renamer, u"uv", true);
    SetTick(Renamer, u"suchenersetzen", false);
    SetText(Renamer, u"maske", u"%name%1");
    SetText(Renamer, u"numstart", u"1");
    SetTick(RenamerFilter, u"alle", true);
    SetTick(RenamerFilter, u"auswahl", false);
    SetText(RenamerFilter, u"filter", u"jpg,bmp,txt");
}

void TransformDefaults(Ttransform* Editor) {
    if (!Editor) return;
    Editor->liste->SetText(WideString());
    Editor->Edit1->SetText(WideString());
    Editor->Edit2->SetText(WideString());
    TUCodeStrings& tables = Editor->cb_auswahl->Items();
    if (tables.Count() > 0) Editor->cb_auswahl->SetText(tables.Get(0));
}

void SearchDefaults(TForm* Search) {
    SetText(Search, u"Memo1", u"");
    if (auto* results = Named<TListView>(Search, u"erglist")) results->Items().Clear();
    SetText(Search, u"la_anzahl", u"0");
    SetTick(Search, u"cb_gk", false);
}

} // namespace

void Tprog::KonfigurationLadenStandard(TObject* Sender) {
    // 1.-3. The working window.
    for (TextKey key : kDefaultTexts)
        dynamic_cast<TControl*>(FindComponent(U16(key.name())))->SetText(DesignText(key));
    for (CheckKey key : kDefaultTicks)
        SetTick(this, U16(key.name()).c_str(), DesignChecked(key));
    for (TextKey key : kDefaultMemos)
        dynamic_cast<TMemo*>(FindComponent(U16(key.name())))->SetText(DesignText(key));
    for (RowsKey key : kDefaultLists)
        dynamic_cast<TListView*>(FindComponent(U16(key.name())))->Items().Clear();
    for (CheckKey key : kDefaultTransliterationTicks)
        SetTick(this, U16(key.name()).c_str(), DesignChecked(key));
    // 4. The preview: white, black "Courier New" without style, both halves alike.
    vor_alt->SetColor(clWhite);
    vor_neu->SetColor(clWhite);
    TFont* font = vor_alt->Font();
    font->SetStyle(0);
    font->SetColor(clBlack);
    font->SetName(u"Courier New");
    vor_neu->Font()->Assign(font);
    // 5. The action groups.
    for (const char16_t* name : kShownPanels)
        Named<TControl>(this, name)->SetVisible(true);
    for (const char16_t* name : kHiddenPanels)
        Named<TControl>(this, name)->SetVisible(false);
    // 6.-11. The other windows.
    FilterDefaults(ConfigurationWindow("PF"));
    OutputDefaults(ConfigurationWindow("EA"));
    RenamerDefaults(ConfigurationWindow("DU"), ConfigurationWindow("DF"));
    TransformDefaults(transform);
    SearchDefaults(ConfigurationWindow("SF"));
    if (auto* standard = Named<TButton>(ConfigurationWindow("ER"), u"Button3")) standard->Click();
    // 12. The menus; the boxes are shown without touching the Sender's own tick.
    for (TMenuItem* item : {m_anz_input, m_anz_vorschau, m_anz_aktionen, m_anz_output})
        item->SetChecked(true);
    m_anz_inputClick(this);
    m_konfig_autosave_nie->SetChecked(true);
    m_konfig_autosave_alles->SetChecked(false);
    m_konfig_autosave_profil->SetChecked(false);
    m_einst_autocloseactions->SetChecked(false);
    m_konfig_standard->SetChecked(false);
    // 13. Texts changed by hand return to the current language.
    sprachealles();
    PanelsAnordnen(Sender);
}
