#include "platform/IniDocument.h"

#include <gtest/gtest.h>

using Platform::IniDocument;

namespace {

TEST(IniDocumentTest, AwkwardKeysValuesAndSectionsRoundTrip) {
    const std::string awkward[] = {
        "plain",         "a=b=c", "two\nlines",    "crlf\r\n",   "[bracketed]",
        ";comment-like", "#hash", " padded ",      "\ttabbed\t", "back\\slash\\",
        "Größe ♩",       "",      "\\n literally", "=",          "end\\",
    };
    IniDocument document;
    for (const std::string& text : awkward) {
        document.Set(text, text, text);
        document.Set("Metronome Settings", text, text);
    }
    IniDocument read = IniDocument::Parse(document.Serialise());
    for (const std::string& text : awkward) {
        EXPECT_EQ(read.Get(text, text).value_or("<missing>"), text);
        EXPECT_EQ(read.Get("Metronome Settings", text).value_or("<missing>"), text);
    }
}

TEST(IniDocumentTest, HandEditedAndDamagedFilesYieldWhatCanBeRead) {
    IniDocument read = IniDocument::Parse(
        "orphan=before any section\n"
        "  [Metronome Settings]  \r\n"
        "Bpm = 120\n"
        "; a comment\n"
        "garbage line without separator\n"
        "\x01\x02\xff\n"
        "Accent=ACCENT: 3\n"
        "Accent=ACCENT: 9\n"
        "[Broken\n"
        "Output=lost under a broken header\n"
        "[Other]\n"
        "Output=TONE");
    EXPECT_EQ(read.Get("Metronome Settings", "Bpm").value_or(""), "120");
    EXPECT_EQ(read.Get("Metronome Settings", "Accent").value_or(""), "ACCENT: 3");
    EXPECT_FALSE(read.Get("Metronome Settings", "Output"));
    EXPECT_FALSE(read.Get("", "orphan"));
    EXPECT_EQ(read.Get("Other", "Output").value_or(""), "TONE");
    // A byte order mark before the first section is no part of its header.
    EXPECT_EQ(IniDocument::Parse("\xEF\xBB\xBF[S]\na=1\n").Get("S", "a").value_or(""), "1");
}

TEST(IniDocumentTest, SetReplacesInPlaceAndKeepsOrder) {
    IniDocument document = IniDocument::Parse("[S]\na=1\nb=2\n");
    document.Set("S", "a", "3");
    document.Set("T", "c", "4");
    EXPECT_EQ(document.Serialise(), "[S]\na=3\nb=2\n\n[T]\nc=4\n");
}

}  // namespace
