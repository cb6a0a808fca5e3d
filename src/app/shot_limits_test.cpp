// The main window's refusal of conditions the engine's formulas do not hold for.
#include "app/form4.hpp"

#include "common/fakes.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

// Before, CALCOLA with an altitude of 20,000 m or a temperature at absolute zero drew an absurd
// table without a word. Now the window shows the table's refusal, naming the limits, and keeps
// no rows; at the limits themselves the table is drawn.
TEST(Form4Limits, CalcolaRefusesConditionsOutsideTheLimits)
{
    struct Case {
        const char* altitude;
        const char* temperature;
        const char* bc;
        const char* names; // empty: the table is drawn
    };
    const Case cases[] = {
        {"20000", "15", "0.4", "da -500 a 9.000 metri"},
        {"0", "-273,15", "0.4", "da -60 a +60 gradi"},
        {"0", "15", "-0.4", "non può essere negativo"},
        {"9000", "-60", "0.4", ""},
        {"-500", "60", "0.4", ""},
    };
    for (const auto& c : cases) {
        testing::FakeDialogs dialogs;
        testing::FakeWindowHost windows;
        testing::FakePrintSink printer;
        Form4 form{dialogs, windows, printer, '.'};
        form.startUp();
        form.fieldChanged(Field::Text12, "800");
        form.fieldChanged(Field::Text11, c.bc);
        form.fieldChanged(Field::Text3, "300");
        form.fieldChanged(Field::Text5, "220");
        form.fieldChanged(Field::Text4, "25");
        form.fieldChanged(Field::Text9, c.temperature);
        form.fieldChanged(Field::Text8, c.altitude);
        form.fieldChanged(Field::Text7, "150");
        form.fieldChanged(Field::Text6, "4");
        form.calcolaClicked();
        if (*c.names == '\0') {
            EXPECT_TRUE(dialogs.messages.empty()) << c.altitude << " " << c.temperature;
            EXPECT_EQ(form.grid().rows.size(), 13u);
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.names;
        EXPECT_NE(dialogs.messages[0].text.find(c.names), std::string::npos)
            << dialogs.messages[0].text;
        EXPECT_TRUE(form.grid().rows.empty()) << c.names;
    }
}

} // namespace
} // namespace siacci
