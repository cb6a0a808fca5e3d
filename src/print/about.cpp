#include "print/about.hpp"

#include "common/version.hpp"

namespace siacci {

Message aboutMessage()
{
    Message m;
    m.title = kAboutTitle;
    m.text = "Siacci " SIACCI_VERSION ", tabelle di tiro col metodo di Siacci: progetto libero sotto licenza "
             "GPL-3.0-or-later; scrivete a siacci@example.org oppure a tabelle@example.net";
    m.icon = MessageIcon::Information;
    m.buttons = MessageButtons::Ok;
    return m;
}

} // namespace siacci
