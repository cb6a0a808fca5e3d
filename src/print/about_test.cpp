#include "print/about.hpp"

#include "common/version.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

TEST(AboutMessage, OneCreditLineWithTwoAddresses)
{
    const Message m = aboutMessage();
    EXPECT_EQ(m.title, "Progetto");
    EXPECT_EQ(m.icon, MessageIcon::Information);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_EQ(m.text.find('\n'), std::string::npos);
    for (const char* part : {"Siacci", siacci::kVersion, "GPL-3.0-or-later", "siacci@example.org",
                             "tabelle@example.net"})
        EXPECT_NE(m.text.find(part), std::string::npos) << part;
}

} // namespace
} // namespace siacci
