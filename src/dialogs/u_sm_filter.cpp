#include "dialogs/u_sm_filter.h"

#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "text/WideStrUtils.h"

namespace {
constexpr int kBoxLeft = 28, kBoxWidth = 150, kEditLeft = 184, kRowTop = 62, kRowHeight = 28;
} // namespace

Tsm_filter::Tsm_filter(TComponent* AOwner) : TForm(AOwner) {
    SetName(u"sm_filter");
    RegisterConfigurationWindow("PF", this);
    SetBorderStyle(bsSizeToolWin);
    SetFormStyle(fsStayOnTop);
    Position = poOwnerFormCenter;
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(620);
    SetClientHeight(330);
    const int editWidth = ClientWidth() - kEditLeft - 12;
    alle = MakeControl<TRadioButton>(this, this, u"alle", 12, 12, 590, 17);
    auswahl = MakeControl<TRadioButton>(this, this, u"auswahl", 12, 36, 590, 17);
    struct Group {
        TCheckBox*& box;
        TEdit*& edit;
        const char16_t* name;
        const char16_t* extensions;
    };
    const Group groups[] = {
        {cb_txt_allg, ed_txt_allg, u"txt_allg", u"asc,ascii,nfo,scp,txt"},
        {cb_txt_web, ed_txt_web, u"txt_web",
         u"htm,html,shtm,shtml,phtml,xhtml,hta,htc,xhtml,stm,ssi,js,as,asc,asr,xml,xsl,xsd,dtd,"
         u"xslt,rss,rdf,lbi,dwt,asp,asa,aspx,ascx,asmx,config,cs,css,cfm,cfml,cfc,tld,txt,php,"
         u"php3,php4,php5,jsp,wml,tpl,lassso"},
        {cb_txt_prog, ed_txt_prog, u"txt_prog",
         u"a,a86,abc,ada,apf,asm,c,cc,cgi,cpp,ddp,dfm,dpr,erb,h,hh,hpp,js,java,pas,pl,res,scpt,"
         u"vbs"},
        {cb_txt_sys, ed_txt_sys, u"txt_sys", u"backup,bak,ini,inf,log"},
        {cb_txt_sons, ed_txt_sons, u"txt_sons",
         u"4gl,686,adp,ads,asic,cid,brl,cookie,diz,dtd,dyo,faq,func,fvx,fxcf,ibb,lua,mrc,out,pgp,"
         u"plist,plp,rtx,sam,sif,sqs,usl,wdl,wld,xxl"},
        {cb_txt_benutzer, ed_txt_benutzer, u"txt_benutzer", u""},
    };
    int top = kRowTop;
    for (const Group& g : groups) {
        g.box = MakeControl<TCheckBox>(this, this, WideString(u"cb_") + g.name, kBoxLeft, top + 2,
                                       kBoxWidth, 17);
        g.box->SetChecked(true);
        g.box->OnClick = [this](TObject* Sender) { cb_allgemeinClick(Sender); };
        g.edit = MakeControl<TEdit>(this, this, WideString(u"ed_") + g.name, kEditLeft, top,
                                    editWidth, 21);
        g.edit->SetAnchors(akLeft | akTop | akRight);
        g.edit->SetText(g.extensions);
        g.edit->SetSelStart(0);
        top += kRowHeight;
    }
    cb_asciicheck =
        MakeControl<TCheckBox>(this, this, u"cb_asciicheck", 12, top + 10, ClientWidth() - 24, 17);
    cb_asciicheck->SetChecked(true);
    Button1 = MakeControl<TButton>(this, this, u"Button1", ClientWidth() - 87, ClientHeight() - 33,
                                   75, 25);
    Button1->SetAnchors(akRight | akBottom);
    Button1->SetCaption(u"OK");
    Button1->SetDefault(true);
    Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
    alle->OnClick = [this](TObject* Sender) { alleClick(Sender); };
    auswahl->OnClick = alle->OnClick;
    alle->SetChecked(true);
    Sprache();
}

void Tsm_filter::Sprache() {
    const bool de = LanguageIsGerman();
    SetCaption(de ? u"Dateitypen-Filter" : u"File Type Filter");
    alle->SetCaption(de ? u"Alle gefundenen Dateien" : u"All supported Formats");
    auswahl->SetCaption(de ? u"Auswahl von Dateien folgender Formate:"
                           : u"Only the selected following Formats:");
    cb_txt_allg->SetCaption(de ? u"Allgemein:" : u"General:");
    cb_txt_web->SetCaption(u"Web:");
    cb_txt_prog->SetCaption(de ? u"Programmierung:" : u"Programming:");
    cb_txt_sys->SetCaption(u"System:");
    cb_txt_sons->SetCaption(de ? u"Sonstiges:" : u"Other:");
    cb_txt_benutzer->SetCaption(de ? u"Benutzerdefiniert:" : u"User Defined:");
    cb_asciicheck->SetCaption(
        de ? u"Dateien vor dem Öffnen auf Textdateien (ANSI oder Unicode Codepage) prüfen"
           : u"Check Files for readability (ANSI or Unicode Codepage) before opening");
}

void Tsm_filter::alleClick(TObject*) {
    const bool selection = auswahl->Checked();
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (c == cb_asciicheck) continue;
        if (dynamic_cast<TEdit*>(c) || dynamic_cast<TCheckBox*>(c))
            static_cast<TControl*>(c)->SetEnabled(selection);
    }
    if (!selection) return;
    for (TCheckBox* box :
         {cb_txt_allg, cb_txt_web, cb_txt_prog, cb_txt_sys, cb_txt_sons, cb_txt_benutzer})
        cb_allgemeinClick(box);
}

void Tsm_filter::cb_allgemeinClick(TObject* Sender) {
    auto* box = dynamic_cast<TCheckBox*>(Sender);
    if (!box) return;
    WideString twin = ReplaceFirstW(box->Name(), u"cb_", u"ed_");
    if (auto* edit = dynamic_cast<TControl*>(FindComponent(twin))) edit->SetEnabled(box->Checked());
}

void Tsm_filter::Button1Click(TObject*) {
    if (Modal())
        SetModalResult(mrOk);
    else
        Close();
}

TWideStrArray Tsm_filter::Masks() const {
    if (alle->Checked()) return {u".*"};
    TWideStrArray groups;
    for (auto [box, edit] : {std::pair{cb_txt_allg, ed_txt_allg},
                             {cb_txt_prog, ed_txt_prog},
                             {cb_txt_sys, ed_txt_sys},
                             {cb_txt_sons, ed_txt_sons},
                             {cb_txt_web, ed_txt_web},
                             {cb_txt_benutzer, ed_txt_benutzer}})
        if (box->Checked()) groups.push_back(edit->Text());
    return ExtensionMasks(groups);
}

TWideStrArray ExtensionMasks(const TWideStrArray& Groups, ExtensionDots Dots) {
    TWideStrArray masks;
    for (const WideString& group : Groups) {
        WideString cleaned;
        for (WideChar c : group)
            if (c != u' ' && (c != u'.' || Dots == ExtensionDots::Kept)) cleaned += c;
        TWideStrArray parts;
        ExplodeW(parts, u",", cleaned);
        for (WideString& p : parts) {
            if (!p.empty() && p.front() == u'.') p.erase(0, 1);
            if (!p.empty()) masks.push_back(u"." + p);
        }
    }
    return masks;
}
