// The fixed texts of the help window in one language: the window's captions, the prose of
// its pages and the entries of its "Software" page. The prose describes this program as it
// is; the entries point to pages of the project's own site (ProjectLinks.h).
#pragma once

#include <span>

#include "text/WideTypes.h"

struct HelpEntry {
    WideStringView path;  // the page under the project's site
    WideStringView title; // bold heading of the entry
    WideStringView text;  // one or two sentences
};

struct HelpTexts {
    WideStringView window_caption;
    WideStringView page_help, page_regards, page_software, page_donate;
    WideStringView back, next, close;
    WideStringView help, regards, software_intro, donate;
    WideStringView donate_path; // the page the donation text links to
    std::span<const HelpEntry> entries;
};

const HelpTexts& GermanHelpTexts();
const HelpTexts& EnglishHelpTexts();
