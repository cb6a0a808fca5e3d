#include "app/form4.hpp"
#include "common/fakes.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

TEST(Form4CardShot, ImperialWindowGivesMetricNumbers)
{
    testing::FakeDialogs dialogs;
    testing::FakeWindowHost windows;
    testing::FakePrintSink printer;
    Form4 form(dialogs, windows, printer);
    form.startUp();
    const std::pair<Field, const char*> shot[] = {
        {Field::Text12, "800"}, {Field::Text11, "0.4"}, {Field::Text3, "300"},
        {Field::Text5, "220"},  {Field::Text4, "25"},   {Field::Text9, "15"},
        {Field::Text8, "200"},  {Field::Text7, "150"},  {Field::Text6, "4"}};
    for (const auto& [field, text] : shot)
        form.fieldChanged(field, text);
    form.calcolaClicked();
    const CardShot metric = form.cardShot();
    EXPECT_DOUBLE_EQ(metric.velocity_ms, 800);
    EXPECT_DOUBLE_EQ(metric.zero_m, 220);
    form.ingleseClicked(); // 2625 ft/s, 1.57 inches; the distances keep their numbers as yards
    const CardShot c = form.cardShot();
    EXPECT_NEAR(c.velocity_ms, 2625 / 3.281, 1e-9);
    EXPECT_NEAR(c.sightHeight_cm, 1.57 * 2.54, 1e-9);
    EXPECT_NEAR(c.zero_m, 220 * 3 / 3.2808, 1e-9);
    EXPECT_NEAR(c.maxDistance_m, 300 * 3 / 3.2808, 1e-9);
    EXPECT_DOUBLE_EQ(c.temperature_C, 15);
    EXPECT_DOUBLE_EQ(c.altitude_m, 200);
    EXPECT_DOUBLE_EQ(c.weight_gr, 150);
}

} // namespace
} // namespace siacci
