#pragma once

#include "card/card_layout.hpp"
#include "card/reticle_drawing.hpp"

#include <string>
#include <vector>

// The printed reticle card: a card of the pocket card's size with the hunter's reticle drawn
// and the hold of every distance of the range card marked on it and listed beside it, for the
// hunter who does not dial. Copies fill an A4 page, as the pocket cards do.
namespace siacci::card {

struct ReticleCardRow {
    std::string distance;   // "300"
    Hold hold;
};

// `title`: the load and the scope in a few words; `drawing`: the reticle with the rows' holds
// (drawReticle); `rows`: the holds of the card's distances past the muzzle.
PrintedCard reticleCardLayout(const std::string& title, const ReticleDrawing& drawing,
                              const std::vector<ReticleCardRow>& rows);

} // namespace siacci::card
