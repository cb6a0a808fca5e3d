#include "print/about.hpp"

namespace siacci {

Message aboutMessage()
{
    Message m;
    m.title = kAboutTitle;
    m.text = "Siacci 1.0.0, tabelle di tiro col metodo di Siacci: progetto libero sotto licenza "
             "GPL-3.0-or-later; scrivete a siacci@example.org oppure a tabelle@example.net";
    m.icon = MessageIcon::Information;
    m.buttons = MessageButtons::Ok;
    return m;
}

} // namespace siacci
