#pragma once

#include "card/cartellino.hpp"

#include <string>
#include <string_view>

// What the range card accepts in each field, with the message shown beside the field when its
// text is not accepted: "Velocità: deve essere tra 50 e 2000 m/s". The limits are those of real
// rifles, bullets and hunting days, and the armoury's own where a field is stored in it.
namespace siacci::card {

// The message for a field's text, or empty when accepted. An empty text is accepted where the
// field is optional; `required` says whether the card uses the field at all now (the pressure
// without a pressure, the typed click without a typed choice are not).
std::string fieldMessage(CardField field, std::string_view text, bool required = true);

// Whether the field is needed by the card as it is set now (the pressure only with a pressure
// mode, the altitude unless the pressure is the station's, the typed click only when chosen).
bool fieldRequired(const Cartellino& card, CardField field);

// A text that is on its way to a number ("-", "0,", "1e", "+"): not yet an error while typed.
bool incompleteNumber(std::string_view text);

} // namespace siacci::card
