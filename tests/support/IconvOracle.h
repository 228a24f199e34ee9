// Text in another encoding as iconv writes it: an oracle for the bytes a conversion must
// give that does not share the program's own codecs.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/TempFolder.h"

// Utf8 converted to the encoding To (iconv's name: "UTF-16LE", "CP1252", ...).
inline std::string Iconv(const std::string& Utf8, const char* To) {
    TempFolder scratch("quorbel-iconv");
    scratch.Write("in", Utf8);
    const std::string command =
        std::string("iconv -f UTF-8 -t ") + To + " '" + scratch.P("in").string() + "'";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << command;
    } else {
        ADD_FAILURE() << "cannot run " << command;
    }
    return out;
}

// A sample input file: its name, its encoding (iconv's name), its byte order mark and
// its line break.
struct EncodedSample {
    const char* name;
    const char* encoding;
    const char* mark;
    const char* lineBreak;

    // The output the default name pattern "%name%-1" gives it ("a.txt" -> "a-1.txt").
    std::string OutputName() const {
        const std::string n = name;
        const size_t dot = n.rfind('.');
        return n.substr(0, dot) + "-1" + (dot == std::string::npos ? "" : n.substr(dot));
    }
};

// Utf8 with each "\n" written as the sample's line break, in its encoding after its mark.
inline std::string EncodedText(const EncodedSample& Sample, const std::string& Utf8) {
    std::string text;
    for (char c : Utf8)
        text += c == '\n' ? std::string(Sample.lineBreak) : std::string(1, c);
    return Sample.mark + Iconv(text, Sample.encoding);
}
