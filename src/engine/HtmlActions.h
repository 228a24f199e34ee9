// The HTML actions of the action pipeline: compacting white space, entity encoding,
// escaping, mail and web links, tag removal, decoding and unescaping, in this order.
#pragma once

#include "engine/SettingsView.h"
#include "text/WideTypes.h"

// The text with the HTML actions applied that the act_html_* settings tick; lineBreak is
// the pipeline's line-break text.
WideString ApplyHtmlActions(const SettingsView& settings, WideStringView text,
                            WideStringView lineBreak);

// The single actions.
WideString CompactHtml(WideStringView text, WideStringView lineBreak);
WideString EscapeHtml(WideStringView text);
WideString LinkMailAddresses(WideStringView text);
WideString LinkWebAddresses(WideStringView text);
WideString RemoveHtmlTags(WideStringView text, WideStringView lineBreak);
WideString UnescapeHtml(WideStringView text);
