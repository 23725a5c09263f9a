#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model_text.h"
#include "mqo/number_text.h"

TEST(NumberText, integersWrapInThirtyTwoBits) {
    EXPECT_EQ(decimalToInt32("42"), 42);
    EXPECT_EQ(decimalToInt32(" \t\v\f\r\n+7x"), 7);
    EXPECT_EQ(decimalToInt32("-12.9"), -12);
    EXPECT_EQ(decimalToInt32("2147483648"), INT32_MIN);
    EXPECT_EQ(decimalToInt32("4294967295"), -1);
    EXPECT_EQ(decimalToInt32("4294967296"), 0);
    EXPECT_EQ(decimalToInt32("-4294967297"), -1);
    EXPECT_EQ(decimalToInt32("99999999999999999999"), static_cast<int32_t>(1661992959u));
    for (const char* text : {"", "-", "+-1", "x1", "0x1A", "- 1"}) EXPECT_EQ(decimalToInt32(text), 0) << text;
}

TEST(NumberText, decimalsAreCorrectlyRoundedAndNeverHexOrNamed) {
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1.5", 1.5},
        {"-.5", -0.5},
        {"5.", 5},
        {".", 0},
        {"-.", 0},
        {"+2.5e3x", 2500},
        {"1e", 1},
        {"1e+", 1},
        {"2E-2", 0.02},
        {"  \t0.1", 0.1},
        {"0x1A", 0},
        {"inf", 0},
        {"-nan", 0},
        {"e5", 0},
        {"1,5", 1},
        {"1e400", infinity},
        {"-1e400", -infinity},
        {"1e-400", 0},
        {"1e99999999999999999999", infinity},
        {"4.9e-324", std::numeric_limits<double>::denorm_min()},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"0.000000000000000000000000000000000000000000000000000000000000001e63", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(decimalToDouble(c.text), c.value) << c.text;
    // Leading zeros are not significant, however many there are.
    const std::string zeros(400, '0');
    EXPECT_EQ(decimalToDouble("1" + zeros), infinity);
    EXPECT_EQ(decimalToDouble("0." + zeros + "1e50"), 0);
    EXPECT_EQ(decimalToDouble(zeros + "1e-330"), 0);
    EXPECT_EQ(decimalToDouble(zeros + "1.5"), 1.5);
    EXPECT_TRUE(std::signbit(decimalToDouble("-1e-400")));
}

// A stored value is the double rounded again to a float: this text lies just
// above the midpoint between 1 and the next float, but its nearest double is
// that midpoint, which rounds to even.
TEST(NumberText, storedValuesAreRoundedTwice) {
    ParsedModel model = parseBody("Material 1 {\n\"m\" dif(1.000000059604644775390625000001) amb(1e39)\n}\n");
    EXPECT_EQ(model.material().dif, 1.0f);
    EXPECT_EQ(model.material().amb, std::numeric_limits<float>::infinity());
}
