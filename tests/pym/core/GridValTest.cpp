#include "pym/core/GridVal.h"

#include <gtest/gtest.h>

#include "pym/core/XMLLoadSave.h"

using Pym::GridVal;

namespace {

TEST(GridValTest, TermsAddToUnitsOrPercentage) {
    struct Case {
        const char* text;
        float units;
        float percentage;
    };
    for (const Case& c : {
             Case{"0.5", 0, 0.5f}, Case{"0.5%", 0, 0.5f}, Case{"50%", 0, 50}, Case{"50", 0, 50},
             Case{"10px", 10, 0}, Case{"1-10px", -10, 1}, Case{"1+4px-2px", 2, 1}, Case{"0", 0, 0},
             Case{"", 0, 0}, Case{"5p", 0, 0},  // "p" without "x": the term is dropped
             Case{"1+5p", 0, 1},                // ... and the terms before it stand
             Case{"2px 3", 2, 0},               // a space ends the text
             Case{"-0.25+8px", 8, -0.25f}, Case{"+3px", 3, 0}, Case{"abc", 0, 0},
             Case{"1e3", 0, 1000},  // the exponent belongs to the number, then ends the text
         }) {
        GridVal value(c.text);
        EXPECT_FLOAT_EQ(value.units, c.units) << c.text;
        EXPECT_FLOAT_EQ(value.percentage, c.percentage) << c.text;
    }
}

TEST(GridValTest, TextFormReadsBackAsTheSameValue) {
    for (const GridVal& value : {GridVal(10, 0.5f), GridVal(10, -0.5f), GridVal(-3, 0),
                                 GridVal(0, 1), GridVal(2.5f, -1.25f)}) {
        EXPECT_EQ(GridVal(value.ToString()), value) << value.ToString();
    }
    EXPECT_EQ(GridVal(10, 0.5f).ToString(), "10px+0.5");
    EXPECT_EQ(GridVal(10, -0.5f).ToString(), "10px-0.5");
}

TEST(GridValTest, ArithmeticIsPerComponent) {
    GridVal a(10, 0.5f);
    GridVal b(-4, 0.25f);
    EXPECT_EQ(a + b, GridVal(6, 0.75f));
    EXPECT_EQ(a - b, GridVal(14, 0.25f));
    a += b;
    EXPECT_EQ(a, GridVal(6, 0.75f));
    a -= b;
    EXPECT_EQ(a, GridVal(10, 0.5f));
}

TEST(GridValTest, FromElementNeedsBothAttributes) {
    TiXmlDocument document;
    document.Parse("<Root><Good Units=\"4\" Percentage=\"0.5\"/><Bad Units=\"4\"/></Root>");
    GridVal good(document.RootElement()->FirstChildElement("Good"));
    EXPECT_EQ(good, GridVal(4, 0.5f));
    EXPECT_THROW(GridVal(document.RootElement()->FirstChildElement("Bad")),
                 Pym::XMLLoadSaveException);
}

}  // namespace
