// The working window: the input list, the preview, the action panels, the saving options,
// the main menu and the "Convert and Save" button. Its controls are the settings the
// conversion engine reads: the window is the engine's SettingsView and RunInterface.
//
// The class is spread over files by job, so that several people can work on it at once:
//   u_prog_form.cpp      builds every component, in one fixed creation order
//   u_prog_captions.cpp  the design captions and hints of the controls in both languages
//   u_prog.cpp           creation, showing, activation, closing, the message hook, headers
//   u_prog_settings.cpp  the settings view and the run interface over the controls
//   u_prog_layout.cpp    the four boxes, the splitters and the stacking of action panels
// and, by later work: u_prog_list.cpp (input list), u_prog_preview.cpp (preview, memos,
// links), u_prog_actions.cpp (action panels and output options), u_prog_texts.cpp
// (language texts, keyed messages, menus), u_prog_config.cpp (configuration files,
// profiles, defaults). A new handler is declared here, defined in the file of its job and
// bound to its control in that file's Bind...Events routine, which FormCreate calls.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "dialogs/WindowSettingsView.h"
#include "dialogs/WorkingWindowLink.h"
#include "engine/Pipeline.h"
#include "engine/ProcessLog.h"
#include "engine/RunInterface.h"
#include "engine/RunState.h"
#include "engine/SettingsView.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/ImageLists.h"
#include "platform/ListBoxes.h"
#include "platform/ListViews.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"
#include "text/TextEncodings.h"

class TShellWatch;
class TOneInstanceCheck;
class TUCodeIniFile;

// The single-instance hand-over object, owned by the working window (nullptr before it
// is created and after it is gone).
extern TOneInstanceCheck* InstanceCheck;

// The one-time note "docmsg" for word-processor and spreadsheet files has not been shown
// in this program run yet.
extern bool DocNoticePending;

// The mouse pointer is inside the action scroll box `ScrollBox1`.
extern bool MouseOverActions;
// The control active at the last left click was neither a combo box, a list view nor a
// memo: the wheel may scroll the action box.
extern bool WheelToActions;

class Tprog : public TForm, public SettingsView, public RunInterface, public WorkingWindowLink {
public:
    explicit Tprog(TComponent* AOwner);
    ~Tprog() override;

    // The folder watcher of the input folder (stopped until the user asks for it).
    TShellWatch* ShellWatch = nullptr;

    // ---- Menus, popup menu, dialogs, image lists, timer ----
    TMainMenu* menu;
    TMenuItem *m_datei, *m_datei_open, *m_datei_ordner, *m_datei_search, *m_datei_konvert,
        *m_datei_changes, *m_onthefly, *m_dateiliste_save, *m_dateiliste_open, *m_datei_delmark,
        *m_datei_delall, *m_datei_vorschauaktualisieren, *m_datei_vorschau, *m_datei_dateiumb,
        *m_datei_code, *m_bug, *m_datei_beenden;
    TMenuItem *m_einst, *m_einst_ausgabe, *m_einst_regex, *m_einst_filter, *m_einst_vor_hg,
        *m_einst_vor_schrift, *m_einst_voralt_zu, *m_einst_vorneu_zu, *m_einst_autocloseactions,
        *m_einst_vorschau, *m_einst_nlkorrektur, *m_einstshortcuts, *m_einst_verkn,
        *m_einst_sendenan, *m_einst_sprache, *m_einst_sprache_deutsch, *m_einst_sprache_english;
    TMenuItem *m_anz, *m_anz_input, *m_anz_vorschau, *m_anz_aktionen, *m_anz_output;
    TMenuItem *m_konfig, *m_konfig_save, *m_konfig_save_start, *m_konfig_save_profil,
        *m_konfig_load, *m_konfig_autosave, *m_konfig_autosave_nie, *m_konfig_autosave_alles,
        *m_konfig_autosave_profil, *m_konfig_standard, *m_konfig_start;
    TMenuItem *m_tools, *m_tools_dateiumb;
    TMenuItem *m_soft_de, *m_software_de_beschreibung, *m_soft_en, *m_software_en_description;
    TMenuItem *m_info_de, *m_info_de_hilfe, *m_info_de_empfehlungen, *m_info_de_software,
        *m_info_de_spenden, *m_bug_de;
    TMenuItem *m_info_en, *m_info_en_intro, *m_info_en_regards, *m_info_en_software,
        *m_info_en_donate, *m_bug_en;
    TPopupMenu* popupqulist;
    TMenuItem *pop0, *pop1, *pop2, *pop5, *pop6, *pop7, *pop8, *pop3, *pop4;
    TImageList* IconList;
    // The pictures of the link menus' items (template_menu.cpp); nullptr until they are built.
    TImageList* softwareicons = nullptr;
    TOpenDialog* od;
    TOpenDialog* od_dateiliste;
    TSaveDialog* sd_dateiliste;
    TSaveDialog* sd_konfig;
    TOpenDialog* od_konfig;
    TColorDialog* ColorDialog1;
    TFontDialog* FontDialog1;
    TTimer* VorschauTimer;

    // ---- Columns and bottom bar ----
    TPanel* Panel1;
    TPanel* Panel2;
    TSplitter* Splitter1;
    TPanel* Panel3;
    TPanel* pa_bottom;
    TButton* durchfuehren;
    TButton *max_input, *max_vorschau, *max_aktionen, *max_output;
    TBevel *max_b1, *max_b2, *max_b3, *max_b4;
    TLabel* laspenden;

    // ---- Input box ----
    TPanel* Panel4;
    TPanel* box_dat;
    TPanel* box_dat_top;
    TImage* close_input;
    TPanel* Panel12; // folder row
    TEdit* inp_ordner;
    TButton* inp_openordner;
    TButton* inp_filter;
    TCheckBox* inp_uv;
    TCheckBox* inp_ow;
    TListView* qulist;
    TPanel* Panel13; // count, hint and list buttons
    TLabel* la_anzahl;
    TLabel* Label1;
    TButton *inp_deleteselect, *inp_deleteall, *inp_searchfiles, *inp_select;
    TSplitter* splitter_files_preview;

    // ---- Preview box ----
    TPanel* Panel5;
    TPanel* box_vor;
    TPanel* box_vor_top;
    TImage* close_vorschau;
    TCheckBox *vor_okay, *vor_showfile, *vor_showalt, *vor_showneu;
    TButton* AlteDateiSpeichern;
    TPanel* Panel22;
    TPanel* Panel9;
    TPanel* Panel14; // old half: heading, path and size
    TLabel *Label10, *vor_orig, *Label12;
    TMemo* vor_alt;
    TSplitter* splitter_preview_old_new;
    TPanel* Panel10;
    TPanel* Panel15; // new half: heading, path and size
    TLabel *Label11, *vor_out, *Label48;
    TMemo* vor_neu;

    // ---- Actions box ----
    TPanel* Panel7;
    TPanel* box_akt;
    TPanel* box_akt_top;
    TImage* close_actions;
    TScrollBox* ScrollBox1;

    // Replace text.
    TPanel *apanel10, *apanel11;
    TCheckBox* act_ers_text;
    TBitBtn* act_ers_text_bb;
    TLabel *Label13, *Label14;
    TMemo *act_ers_text_suchen, *act_ers_text_ersetzen;
    TImage *plus_ers_suche, *plus_ers_ersetzen;
    TLabel *act_ers_text_suchen_regfehler, *act_ers_text_ersetzen_regfehler;
    TCheckBox *act_ers_text_suchen_regex, *act_ers_text_ersetzen_regex, *act_ers_casesensitive;
    TButton *act_ers_text_regex, *act_ers_text_delete;
    TCheckBox* act_ers_weitere;
    TListView* act_ers_text_liste;
    TButton *act_ers_text_add, *act_ers_text_replace, *act_ers_text_delmark, *act_ers_text_all;
    TBitBtn* BitBtn1;

    // Replace lines.
    TPanel *apanel20, *apanel21;
    TCheckBox* act_ers_zeile;
    TBitBtn* act_ers_zeile_bb;
    TRadioButton *act_ers_zeile_rb_zeile, *act_ers_zeile_rb_text, *act_ers_zeile_rb_regex;
    TLabel *act_ers_zeile_la1, *act_ers_zeile_la2, *Label15;
    TEdit* act_ers_zeile_suchen;
    TMemo* act_ers_zeile_erstxt;
    TImage* plus_ers_zeile;
    TButton *act_ers_zeile_add, *act_ers_zeile_del, *act_ers_zeile_delselect;
    TListView* act_ers_zeile_liste;

    // Insert.
    TPanel *apanel30, *apanel31;
    TCheckBox* act_anfuegen;
    TBitBtn* act_anfuegen_bb;
    TLabel *Label16, *Label17, *Label18;
    TMemo* act_anfuegen_text;
    TImage* plus_anfuegen;
    TRadioButton *act_anfuegen_vorn, *act_anfuegen_hinten, *act_anfuegen_pos_rb;
    TEdit* act_anfuegen_pos;
    TPanel* Panel11; // the lines the text goes into
    TRadioButton *act_anfuegen_datei, *act_anfuegen_jedezeile, *act_anfuegen_zeile_rb,
        *act_anfuegen_zeile_txt_rb;
    TEdit *act_anfuegen_zeile, *act_anfuegen_zeile_txt;
    TCheckBox* act_anfuegen_zeile_txt_gk;
    TButton *act_anfuegen_add, *act_anfuegen_del, *act_anfuegen_delselect;
    TListView* act_anfuegen_liste;

    // Delete text.
    TPanel *apanel40, *apanel41;
    TCheckBox* act_del_text;
    TBitBtn* act_del_text_bb;
    TLabel* Label19;
    TMemo* act_del_text_suchen;
    TImage* plus_deltext;
    TLabel* act_del_text_suchen_regfehler;
    TCheckBox *act_del_casesensitive, *act_del_regex;
    TButton *act_del_text_add, *act_del_text_delete, *act_del_text_delselect;
    TListView* act_del_text_liste;

    // Delete lines.
    TPanel *apanel50, *apanel51;
    TCheckBox* act_del_zeile;
    TBitBtn* act_del_zeile_bb;
    TLabel *Label20, *Label21, *Label22, *Label23, *Label24, *Label25;
    TEdit *act_del_zeile_suchen, *act_del_zeile_ende, *act_del_zeile_from, *act_del_zeile_char_less,
        *act_del_zeile_char_more;
    TCheckBox *act_del_zeile_leere, *act_del_zeile_whitespace, *act_del_zeile_doppelte;
    TRadioButton *act_del_zeile_text_del, *act_del_zeile_text_keep;
    TMemo* act_del_zeile_text;
    TImage* plus_delzeile;
    TCheckBox *act_del_zeile_text_regex, *act_del_zeile_text_anfang, *act_del_zeile_text_grkl,
        *act_del_zeile_text_leer, *act_del_zeile_trenner;

    // HTML.
    TPanel *apanel60, *apanel61;
    TCheckBox* act_html;
    TBitBtn* act_html_bb;
    TCheckBox *act_html_reduzieren, *act_html_ersetzen, *act_html_ersetzen_eig,
        *act_html_ersetzen_reverse, *act_html_ersetzen_reverse_eig, *act_html_linkmails,
        *act_html_linkwebpages, *act_html_tagsentfernen;

    // Line tools.
    TPanel *apanel70, *apanel71;
    TCheckBox* act_zeilen;
    TBitBtn* act_zeilen_bb;
    TCheckBox *act_zeilen_umbruchweg, *act_zeilen_umbruchweg_intelligent,
        *act_zeilen_umbruchweg_leerzeichen, *act_zeilen_sort, *act_zeilen_sort_abcb,
        *act_zeilen_laenge, *act_zeilen_trimleft, *act_zeilen_trimright, *act_zeilen_nummern,
        *act_zeilen_nummern5;
    TLabel *Label26, *Label27, *Label28, *Label29;
    TEdit *act_zeilen_umbruchweg_range, *act_zeilen_sort_abed, *act_zeilen_laengemax,
        *act_zeilen_nummern_beginn;
    TComboBox* act_zeilen_sortierung;

    // Letter case.
    TPanel *apanel80, *apanel81;
    TCheckBox* act_sonstige;
    TBitBtn* act_sonstige_bb;
    TRadioButton *act_sons_uppercase, *act_sons_lowercase, *act_sons_uppercasebegin,
        *act_sons_mixedcase, *act_sons_keine;
    TCheckBox* act_sons_ucline;

    // Merge files.
    TPanel *apanel90a, *apanel91a;
    TCheckBox* act_dateizus;
    TBitBtn* act_dateizus_bb;
    TCheckBox *act_dateizus_einzeln, *act_dateizus_vorschaueinzeln, *act_dateizus_absatz,
        *act_dateizus_text;
    TMemo* act_dateizus_textfeld;

    // Split files.
    TPanel *apanel90b, *apanel91b;
    TCheckBox* act_dateisplit;
    TBitBtn* act_dateisplit_bb;
    TLabel *Label30, *Label31;
    TMemo* act_dateisplit_text;
    TRadioButton *act_dateisplit_trenn_exakt, *act_dateisplit_trenn_zeile;
    TCheckBox *act_dateisplit_regex, *act_dateisplit_suchtxtvorne, *act_dateisplit_suchtxthinten,
        *act_dateisplit_einzeln, *act_dateisplit_remwhitespace, *act_dateisplit_min;
    TEdit* act_dateisplit_minlaenge;

    // File constants.
    TPanel *apanel90c, *apanel91c;
    TCheckBox* act_konstanten;
    TBitBtn* act_konstanten_bb;
    TLabel *Label32, *Label33, *Label51;
    TEdit* act_konst_start;
    TCheckBox* act_konst_all;

    // Transliteration.
    TPanel *apanel920, *apanel921;
    TCheckBox* act_transcript;
    TBitBtn* act_transcript_bb;
    TLabel *Label34, *Label39;
    TComboBox* act_transkription;
    TButton* act_transcript_user;
    TCheckBox *act_transcript_umlaute, *act_trans_reverse, *act_trans_kleinzusatz,
        *act_trans_grosszusatz;

    // Line breaks.
    TPanel *apanel930, *apanel931;
    TCheckBox* act_newline;
    TBitBtn* act_newline_bb;
    TRadioButton *act_rbnewline_auto, *act_rbnewline_manu;
    TComboBox* act_newline_alt;
    TLabel *Label35, *Label49;
    TCheckBox* act_cbnewline;
    TComboBox* act_newline_neu;
    TCheckBox *act_cbnl_check, *act_newlinewindows;

    // Encoding.
    TPanel *apanel940, *apanel941;
    TCheckBox* act_convert;
    TBitBtn* act_convert_bb;
    TLabel *Label36, *act_convert_label, *act_convert_label8;
    TButton *act_convert_button1, *act_convert_button2;

    // CSV columns.
    TPanel *apanel950, *apanel951;
    TCheckBox* act_csv;
    TBitBtn* act_csv_bb;
    TLabel *Label37, *Label38, *Label40, *Label47;
    TComboBox *act_csv_trenner, *act_csv_ende, *act_csv_feldbegrenzer;
    TRadioButton *act_csv_feldbegrenzer_immer, *act_csv_feldbegrenzer_individuell,
        *act_csv_feldbegrenzer_nie;
    TCheckBox* act_csv_verkdatensatz;
    TCheckBox* act_csv_order;
    TButton* act_csv_order_show;
    TCheckBox* act_csv_replace;
    TButton* act_csv_replace_show;
    TCheckBox* act_csv_insert;
    TButton* act_csv_insert_show;
    TCheckBox* act_csv_writing;
    TButton* act_csv_writing_show;
    TCheckBox* act_csv_calc;
    TButton* act_csv_calc_show;
    TCheckBox* act_csv_delcolumns;
    TButton* act_csv_delcolumns_show;

    // Further options.
    TPanel *apanelweitere0, *apanelweitere1;
    TCheckBox* act_weitere;
    TLabel *Label42, *Label43, *Label44, *Label45;

    // ---- Saving options box ----
    TPanel* Panel6;
    TPanel* box_sav;
    TPanel* box_sav_top;
    TImage* close_output;
    TRadioButton *out_overwrite, *out_newimage;
    TLabel* Label7;
    TComboBox* out_ordner;
    TButton* outordnerbt;
    TLabel* Label8;
    TComboBox* out_name;
    TLabel* Label9;
    TComboBox* out_format;
    TCheckBox *out_deleteoriginal, *out_onlyselected, *out_onlyifchanged;

    // ---- The sixteen action groups in stacking order ----
    struct ActionGroup {
        TPanel* header;
        TPanel* body;
    };
    static constexpr int kActionGroups = 16;
    const ActionGroup* ActionGroups() const { return FGroups; }

    // ---- Creation, showing, closing (u_prog.cpp) ----
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    // A second start of the program handed its parameters over (the first is its path).
    void OnNewInstance(TObject* Sender, TUCodeStringList& Params);
    // Shows the failure of one autosave step, once per window: closing goes on.
    void AutosaveGuarded(const std::function<void()>& Save);
    // The application-wide message hook: the mouse wheel scrolls the action box.
    void AppMessage(TMsg& Msg, bool& Handled);
    // A faulty regular expression of the field being converted: red text and its label.
    void RegExFehlerInMemoMarkieren(const WideString& Message);
    // The header colours: the button face with each channel reduced by Amount (wrapping).
    static TColor HeaderColor(int Amount);
    // The drawn header pictures.
    void DrawCloseButton(TImage* Image, bool Active);
    void DrawPlusButton(TImage* Image, bool Active);
    // Lists the transliteration tables of folder (and its subfolders) in
    // `act_transkription`.
    void AddTransliterationTables(const WideString& Folder);

    // ---- Box layout (u_prog_layout.cpp) ----
    void m_anz_inputClick(TObject* Sender);
    void close_inputClick(TObject* Sender);
    void close_vorschauClick(TObject* Sender);
    void close_actionsClick(TObject* Sender);
    void close_outputClick(TObject* Sender);
    void max_inputClick(TObject* Sender);
    void max_vorschauClick(TObject* Sender);
    void max_aktionenClick(TObject* Sender);
    void max_outputClick(TObject* Sender);
    void PanelsAnordnen(TObject* Sender);
    void FormResize(TObject* Sender);
    void CloseAllActions();
    void act_ers_weitereClick(TObject* Sender);
    // The buttons that open a window of the action groups beside the working window
    // (u_prog_dialog_buttons.cpp): the CSV column order, the CSV column editing on the page
    // of the button's edit kind, the transliteration table editor, the replacement lists and
    // the regular-expression settings.
    void act_csv_order_showClick(TObject* Sender);
    void act_csv_edit_showClick(TObject* Sender);
    void act_transcript_userClick(TObject* Sender);
    // The replacement-list manager (replace group) and the regular-expression settings
    // (replace group and settings menu).
    void BitBtn1Click(TObject* Sender);
    void act_ers_text_regexClick(TObject* Sender);
    void m_einst_regexClick(TObject* Sender);
    void m_einstshortcutsClick(TObject* Sender);
    // m_datei_dateiumb and m_tools_dateiumb: the renaming tool.
    void m_datei_dateiumbClick(TObject* Sender);
    void ResizeSplitterFilesPreview(bool Reset);
    // The input box at Height, and the proportion that keeps it when the window resizes.
    void SetInputBoxHeight(int Height);
    void ResizeSplitterPreviewOldNew(bool Reset);
    // While the splitter drags, the proportion follows the input box's new height.
    void splitter_files_previewCanResize(TObject* Sender, int& NewSize, bool& Accept);
    void splitter_files_previewMoved(TObject* Sender);
    void splitter_preview_old_newMoved(TObject* Sender);
    void Panel2Resize(TObject* Sender);
    void Panel5Resize(TObject* Sender);
    void Splitter1Moved(TObject* Sender);
    void Panel9Resize(TObject* Sender);
    void Panel10Resize(TObject* Sender);
    void revcheck(TObject* Sender);

    // ---- Action panels and output options (u_prog_actions.cpp) ----
    // A group's tick box, its body panel and its fold button.
    struct ActionTick {
        TCheckBox* tick;
        TPanel* body;
        TBitBtn* fold;
    };
    std::vector<ActionTick> ActionTicks() const;
    // The tick boxes of the groups (act_ers_textClick, ...): with auto-close every body is
    // closed first; then the group's body shows exactly while its action is ticked.
    void ActionTickClick(TObject* Sender);
    // The fold buttons ("_bb"): the body opens or closes, the tick stays.
    void ActionFoldClick(TObject* Sender);
    void act_weitereClick(TObject* Sender);
    // A click on the action box, a group panel or a group label: the wheel scrolls the box.
    void act_bewegenlassen(TObject* Sender);
    // The four entry lists: drag within a list, Ctrl+A and Delete, buttons and selection.
    void act_ers_text_listeDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void ListeKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void act_ers_text_allClick(TObject* Sender);
    void act_ers_text_addClick(TObject* Sender);
    void act_ers_text_replaceClick(TObject* Sender);
    void act_ers_text_listeSelectItem(TObject* Sender);
    void act_ers_zeile_addClick(TObject* Sender);
    void act_ers_zeile_listeSelectItem(TObject* Sender);
    // The caption of an insert row from the insert controls ("POS7 TEXT E", "END ZEILE").
    WideString InsertCaption() const;
    void act_anfuegen_addClick(TObject* Sender);
    void act_anfuegen_listeSelectItem(TObject* Sender);
    void act_del_text_addClick(TObject* Sender);
    void act_del_text_listeSelectItem(TObject* Sender);
    void act_ers_text_deleteClick(TObject* Sender);
    void act_ers_zeile_delClick(TObject* Sender);
    void act_anfuegen_delClick(TObject* Sender);
    void act_del_text_deleteClick(TObject* Sender);
    // A changed search memo is no longer marked as a faulty expression.
    void act_ers_text_suchenChange(TObject* Sender);
    void act_ers_text_ersetzen_regexClick(TObject* Sender);
    void act_del_zeile_text_regexClick(TObject* Sender);
    void act_del_zeile_trennerClick(TObject* Sender);
    void act_newlinewindowsClick(TObject* Sender);
    void act_ers_zeile_rb_zeileClick(TObject* Sender);
    // The "custom" entry of the output and CSV combo boxes clears the box for free input;
    // then the output path (output boxes) or the preview follows.
    void CustomEntryChange(TObject* Sender, bool OutputBox);
    void out_newimageClick(TObject* Sender);
    // Key filter of out_name, out_format and out_ordner, with the refused-character message.
    void out_nameKeyPress(TObject* Sender, WideChar& Key);
    void out_ordnerExit(TObject* Sender);
    void outordnerbtClick(TObject* Sender);
    // The output settings window (act_convert_button1, m_einst_ausgabe).
    void act_convert_button1Click(TObject* Sender);

    // ---- The conversion (u_prog_settings.cpp) ----
    WideString Konvertieren(const WideString& Text, WideStringView Path, const void* Sender,
                            int Number);
    WideString KONS(WideStringView Text, WideStringView Path, int Number) const;
    WideString NameFinden(WideStringView Path, WideStringView FirstChars, int Number,
                          int Count) const;
    void durchfuehrenClick(TObject* Sender);
    // How the last "Convert and Save" ended: whether it went over the list, and how many
    // files, pieces or pictures failed (the exit status of an unattended run).
    struct RunResult {
        bool started = false;
        int failures = 0;
    };
    RunResult LastRunResult() const { return FLastRun; }
    // The program-wide state runs and previews start from (the main block's; the window's
    // own while none is set).
    const ProgramState& RunState() const;
    // The output encoding chosen so far moves into the new state.
    void SetRunState(ProgramState* State);

    // SettingsView: the control of each key in the window of its class (this window or a
    // registered settings window).
    bool Checked(CheckKey key) const override;
    WideString Text(TextKey key) const override;
    std::vector<ListRow> Rows(RowsKey key) const override;
    TWideStrArray Items(ItemsKey key) const override;
    size_t RowCount(ListKey key) const override;
    FontSetting Font(FontKey key) const override;

    // RunInterface over the window's dialogs and controls.
    void ConversionSender(const void* sender) override;
    void RegExError(WideStringView message) override;
    void ReportProgramError(WideStringView path, std::string_view cause) override;
    void ShowMessage(std::string_view key, WideStringView path) override;
    void ShowFilesNotFound(WideStringView firstPath, int count) override;
    bool MessagesSuppressed() override;
    OverwriteAnswer AskOverwrite(WideStringView path) override;
    void ShowProgress(int maximum) override;
    void ProgressFile(WideStringView text) override;
    void ProgressPosition(int position) override;
    void HideProgress() override;
    bool CancelRequested() override;
    void ResetDialogAnswers() override;
    void ProcessMessages() override;
    void SetWorkingWindowEnabled(bool enabled) override;
    void FocusWorkingWindow() override;
    void BeginListUpdate() override;
    void EndListUpdate() override;
    void SetRowState(WideStringView path, FileState state) override;
    void SetRowEncodingName(WideStringView path, WideStringView name) override;
    void RemoveRow(WideStringView path) override;
    void RowCountChanged() override;
    void ReloadPreview() override;

    // WorkingWindowLink: what the dialogs call.
    void VorschauWennAktiv() override;
    void meldungzeigen(std::string_view key, WideStringView path) override;
    // The keyed message whose texts hold "%anzahl%", shown with count there.
    void meldungzeigen(std::string_view key, WideStringView path, int count);
    TListView* InputList() override { return qulist; }
    TListView* ReplaceTextList() override { return act_ers_text_liste; }
    TSaveDialog* ConfigSaveDialog() override { return sd_konfig; }
    void act_transkriptionAdd(WideStringView name) override;
    TMemo* OldPreviewMemo() override { return vor_alt; }
    TLabel* OldPreviewPathLabel() override { return vor_orig; }
    TLabel* OldPreviewSizeLabel() override { return Label12; }
    WideString LesbarMachen(WideStringView text) override;
    void ShowFileInOldPreview(WideStringView fileText) override;
    void SetOutputEncoding(TextEncodingCode codePage, bool byteOrderMark,
                           WideStringView caption) override;

    // ---- Design captions (u_prog_captions.cpp) ----
    // Sets the captions and hints of the controls in German or English.
    void SetControlCaptions(bool German);

    // ---- Help, feedback and link menus (u_prog_help.cpp) ----
    // The help window of the language code (English unless "de") on its page of Kind;
    // the feedback window of the language code.
    enum class HelpPage { Help, Regards, Software, Donate };
    void ShowHelpPage(HelpPage Kind);
    void m_bugClick(TObject* Sender);

    // ---- Routines of later work, declared for their files ----
    // Input list (u_prog_list.cpp).
    void add2list(const WideString& Path, TListView* List);
    void AddOrdner(const WideString& Folder);
    void QUSelect(int Status, int Mark, int Index) override;
    void swCreate(const WideString& Path);
    void swDelete(const WideString& Path);
    void swRenameItem(const WideString& OldPath, const WideString& NewPath);
    void swUpdateItem(const WideString& Path);
    void WriteFileCount() override; // `la_anzahl`
    // The index of the first row of `qulist` whose path is Path; -1 when there is none.
    int RowOfPath(WideStringView Path) const;
    // The same in any list; the path of a row (empty for a row without one).
    static int RowOfPathIn(TListView* List, WideStringView Path);
    static WideString RowPath(const TListItem* Row);
    static bool RowHasPath(const TListItem* Row, WideStringView Path);
    // The icon number of a file's extension in Images (one icon per extension and run).
    int GetFileIconNumber(const WideString& Path, TImageList* Images);
    // Reads the row's file again: name, icon, format, type, encoding and size.
    void UpdateListItem(int Index) override;
    // The size column widened when SizeText would not show whole in it.
    void FitSizeColumn(const WideString& SizeText);
    // The type column of every row anew, in the language of the file type names.
    void RewriteFileTypeNames();
    void RewriteStatusWords();
    // Files dropped from the file manager (folders are added through the type filter).
    void WMDropFiles(const TWideStrArray& Names);
    void qulistColumnClick(TObject* Sender, TListColumn* Column);
    void qulistCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, intptr_t Data,
                       int& Compare);
    // The buttons, folder field, popup menu, keys and file lists of the input list
    // (u_prog_list_commands.cpp).
    void inp_deleteallClick(TObject* Sender);
    void inp_deleteselectClick(TObject* Sender); // also `pop4` and the Delete key
    void inp_filterClick(TObject* Sender);
    void inp_selectClick(TObject* Sender); // also `pop8`
    void inp_searchfilesClick(TObject* Sender);
    void m_datei_codeClick(TObject* Sender);
    void OrdnerWahlClick(TObject* Sender); // `inp_openordner`
    void inp_ordnerKeyPress(TObject* Sender, WideChar& Key);
    void inp_ordnerDblClick(TObject* Sender);
    void inp_owClick(TObject* Sender);
    // The watcher runs while `inp_ordner` names an existing folder and `inp_ow` is ticked.
    void UpdateFolderWatch();
    // Ctrl+A in an edit field selects its whole text.
    void elementeKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void popupqulistPopup(TObject* Sender, bool& Cancel);
    void pop0Click(TObject* Sender);
    void pop1Click(TObject* Sender);
    void pop2Click(TObject* Sender);
    void pop3Click(TObject* Sender);
    void pop5Click(TObject* Sender);
    void pop6Click(TObject* Sender);
    void pop7Click(TObject* Sender);
    void qulistKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void qulistKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void qulistDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                        bool& Accept);
    void qulistDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void m_dateiliste_saveClick(TObject* Sender);
    void m_dateiliste_openClick(TObject* Sender);
    // The column clicked last (0 = name), the direction, the column of the click before.
    int SortColumn = 0;
    int SortDescending = 0;
    int LastSortColumn = 0;
    // Preview (u_prog_preview.cpp).
    void VorschauSetzen(TObject* Sender);
    void VorschauVerzoegert(TObject* Sender);
    void VorschauWennAktiv(TObject* Sender);
    // The preview lets go of a file that is no longer in the list: its path, both texts,
    // the output path, the sizes and the line-break kind are emptied.
    void ForgetUnlistedPreviewFile();
    // Empties the old memo, which then holds nothing of a file.
    void ClearOldPreview();
    void Vorschau(TObject* Sender);
    void VorschauPfad();
    void VorschauTimerTimer(TObject* Sender);
    void m_datei_vorschauClick(TObject* Sender);
    void m_einst_vorschauClick(TObject* Sender);
    void m_einst_voralt_zuClick(TObject* Sender); // and m_einst_vorneu_zu
    void m_einst_vor_hgClick(TObject* Sender);
    void m_einst_vor_schriftClick(TObject* Sender);
    void m_einst_nlkorrekturClick(TObject* Sender);
    void m_ontheflyClick(TObject* Sender);
    void vor_okayClick(TObject* Sender);
    void vor_altChange(TObject* Sender);
    void vor_showaltClick(TObject* Sender); // and vor_showneu
    void AlteDateiSpeichernClick(TObject* Sender);
    // The line number of Memo's caret into Label, and Other scrolled to Memo's first line.
    void PreviewCaretMoved(TMemo* Memo, TMemo* Other, TLabel* Label);
    static int PreviewLineOfCaret(const TMemo* Memo);
    static WideString PreviewSizeText(const TMemo* Memo);
    // The plus buttons: the long-text editor of Field filled from it and shown.
    void ShowLongTextEditor(TMemo* Field);
    // The web address of a maker's page named by a caption (accelerators and a " - "
    // remark stripped when StripCaption; a site name given its slash when AddSlash).
    static WideString MakerAddress(const WideString& Caption, bool StripCaption, bool AddSlash,
                                   WideStringView Code);
    void laspendenClick(TObject* Sender);
    void Label39Click(TObject* Sender);
    void Label42Click(TObject* Sender);
    // The items of the maker menus open the page their caption names.
    void BrowseToMenuCaption(TObject* Sender);
    // Refreshes computed since the window was created (each converts the text once).
    int PreviewComputations() const { return FVorschauZaehler; }
    // Language texts and menus (u_prog_texts.cpp).
    void SetMainWindowTexts();
    void sprachealles();
    void m_einst_sprache_deutschClick(TObject* Sender);
    void m_einst_sprache_englishClick(TObject* Sender);
    // Menu handlers of the menu alone (u_prog_menus.cpp).
    void m_datei_openClick(TObject* Sender); // also a double click on `qulist`
    void m_datei_beendenClick(TObject* Sender);
    void m_einst_autocloseactionsClick(TObject* Sender);
    // Configuration files and profiles (u_prog_config.cpp).
    void KonfigurationSpeichern(TObject* Sender, const WideString& Path);
    void KonfigurationLaden(TObject* Sender, const WideString& Path);
    // Lists the configuration files of a folder in the menu of configurations.
    void AddConfigurationFiles(const WideString& Folder);
    void KonfigurationSpeichernProfil(TObject* Sender, const WideString& Path) override;
    void KonfigurationAddMenu(TObject* Sender, const WideString& Path) override;
    void m_konfig_save_startClick(TObject* Sender);
    // A value enclosed in quotes gets one more pair, which the INI store removes on reading.
    static WideString QuoteIniValue(WideStringView Value);
    // Every setting back to its default (F2).
    void KonfigurationLadenStandard(TObject* Sender);
    // The save and load dialogs of configurations; each adds the file to the menu.
    void KonfigurationSpeichernDialog(TObject* Sender);
    void KonfigurationLadenDialog(TObject* Sender);
    // Click of an added menu item: loads the file of its hint when it still exists.
    void KonfigurationLadenMenu(TObject* Sender);
    void m_konfig_startClick(TObject* Sender);
    void m_konfig_autosave_nieClick(TObject* Sender);
    void m_konfig_save_profilClick(TObject* Sender);

    // The control whose text the engine is converting now, and whether it is a memo.
    const void* CurrentActionControl() const { return FCurrentActionControl; }

private:
    // Construction (u_prog_form.cpp), one routine per region, called in this order.
    void CreateMenus();
    void BindHelpEvents();
    void CreateDialogs();
    void CreateColumns();
    void CreateInputBox();
    void CreatePreviewBox();
    void CreateActionBox();
    void CreateReplaceGroups();
    void CreateInsertGroup();
    void CreateDeleteGroups();
    void CreateLineGroups();
    void CreateFileGroups();
    void CreateCodingGroups();
    void CreateCsvGroup();
    void CreateSaveBox();
    void CreateBottomBar();
    void FillTransliterationTables();
    // A group's header (tick box and fold button) and its body panel.
    void CreateGroup(int Index, TPanel*& Header, TCheckBox*& Tick, TBitBtn** Fold, TPanel*& Body,
                     const char16_t* HeaderName, const char16_t* TickName, const char16_t* BodyName,
                     int BodyHeight);
    template <class T>
    T* Make(T*& Field, TWinControl* Parent, const char16_t* Name, int Left, int Top, int Width,
            int Height);
    // Make, then aligned; a panel that only holds others has no bevel.
    template <class T>
    T* Place(T*& Field, TWinControl* Parent, const char16_t* Name, TAlign Align, int Left, int Top,
             int Width, int Height);
    TPanel* Holder(TPanel*& Field, TWinControl* Parent, const char16_t* Name, TAlign Align,
                   int Left, int Top, int Width, int Height);
    // A box filling In: its header with the caption and its close picture.
    void CreateBox(TPanel*& Box, TPanel*& Header, TImage*& Close, TPanel* In,
                   const char16_t* BoxName, const char16_t* HeaderName, const char16_t* CloseName);
    // One half of the preview: its panel, the strip with heading, size and path, the memo.
    struct PreviewHalf {
        TPanel** panel;
        TPanel** strip;
        TLabel** heading;
        TLabel** size;
        TLabel** path;
        TMemo** memo;
        const char16_t* names[6];
    };
    void CreatePreviewHalf(const PreviewHalf& Half, TAlign Align, int Left, int Width);
    TMenuItem* Item(TMenuItem*& Field, TMenuItem* Parent, const char16_t* Name,
                    TShortCut Shortcut = 0);
    TMenuItem* Separator(TMenuItem* Parent);
    void BindFrameEvents();        // u_prog.cpp
    void BindLayoutEvents();       // u_prog_layout.cpp
    void BindDialogButtonEvents(); // u_prog_dialog_buttons.cpp
    void BindConfigEvents();       // u_prog_config.cpp
    void BindActionEvents();       // u_prog_actions.cpp
    void BindActionEditEvents();
    void BindOutputEvents();
    void BindWheelEvents();
    void BindMenuEvents();    // u_prog_menus.cpp
    void BindPreviewEvents(); // u_prog_preview.cpp
    void SinglePreview(ConversionEngine& Engine, TObject* Sender);
    void MergedPreview(ConversionEngine& Engine, TObject* Sender);
    // The text of the file at Path for the single preview: the one the selection just read
    // when it is that file's, else read now; false when it cannot be read.
    bool PreviewFileText(const WideString& Path, WideString& Text);
    // The new memo and its size label from a converted text (its beginning kept for the
    // output name).
    void ShowNewText(WideString Converted);
    // A path label's caption := its hint shortened to the label's width.
    static void ShortenPathLabel(TLabel* Label);
    // Parts of the configuration writer and reader (u_prog_config.cpp).
    void WriteFixedSections(TUCodeIniFile& Ini);
    void WriteAutosaveTicks(TUCodeIniFile& Ini);
    int ReadWorkingGeometry(TUCodeIniFile& Ini, TObject* Sender);
    void ReadPreviewFont(TUCodeIniFile& Ini);
    void BindListEvents(); // u_prog_list.cpp
    // Input list (u_prog_list.cpp): a row for Path unless it is missing or listed already
    // (KnownPaths, when given, holds every listed path and gets the new one; Encoding, when
    // given, is the file's detected encoding).
    void AddListRow(const WideString& Path, TListView* List,
                    std::unordered_set<WideString>* KnownPaths,
                    std::optional<TextEncodingCode> Encoding);
    std::unordered_set<WideString> ListPaths() const;
    void BindListCommandEvents(); // u_prog_list_commands.cpp
    // "OK for all" of the message window (its tag; 1 silences duplicate and format
    // messages of the list).
    static void SetOkForAll(int Tag);
    // The status column of the row := the word for new (a mark is dropped).
    void SetRowStatusNew(int Index);
    void MarkSelectedRows(TObject* Sender, int Mark);
    // The file of the first selected row when it exists; empty otherwise.
    WideString FirstSelectedFile() const;
    // The last row whose path is Path; -1 when there is none.
    int LastRowOfPath(WideStringView Path) const;
    // Path lies in the existing folder of `inp_ordner` (or below it with Subfolders).
    bool WatchedFolderHolds(WideStringView Path, bool Subfolders) const;
    class ListAddProgress;
    // Drops from the file manager waiting for the posted message that adds them.
    static constexpr UINT kAddDroppedFilesMessage = WM_APP + 0x104;
    std::deque<TWideStrArray> FPendingDrops;
    // The extensions whose icon sits at each index of `IconList`, and those without one.
    TWideStrArray FIconExtCache;
    std::unordered_set<WideString> FIconlessExtensions;

    // The window that holds the settings of a window class; nullptr while there is none.
    TForm* SettingsWindowOf(std::string_view WindowClass) const;
    WindowSettingsView FSettings{[this](std::string_view c) { return SettingsWindowOf(c); }};

    ActionGroup FGroups[kActionGroups] = {};
    int FSeparators = 0;
    // Preview requester, current action control and whether that control is a memo.
    TObject* FVorschauSender = nullptr;
    // The beginning of the last converted text (the output name's "%firstchars%") and the
    // number of refreshes.
    WideString FVorschauAnfang;
    int FVorschauZaehler = 0;
    // The file text a selection read for the old memo, handed on to the refresh it runs
    // (one read per selection), and the file it came from.
    WideString FGelesenerText, FGelesenerPfad;
    // What showing a file in the old memo changed: NULs made blanks, and the line-break
    // kind widened to CR LF (lbUnknown when none was). Set when the memo is filled from a
    // file, cleared when it is emptied, and read by the save.
    bool FAltNulsReplaced = false;
    LineBreakCode FAltWidenedBreak = lbUnknown;
    const void* FCurrentActionControl = nullptr;
    bool FCurrentIsMemo = false;
    // An autosave that failed is shown once; the window closes all the same.
    bool FAutosaveFailureShown = false;
    bool FMessageHookBound = false;
    ProgramState* FRunState = nullptr;
    RunResult FLastRun;
    ProgramState FOwnRunState{ProgramFolder()};
    // Bulk update nesting of `qulist` during a run.
    int FListUpdates = 0;
};

// The working window once it is created (nullptr before).
extern Tprog* prog;
