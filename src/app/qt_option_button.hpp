#pragma once

#include <QRadioButton>

// An option of a set the model keeps (the bullets, the bullet shapes): drawn and clicked as a
// radio button, but not auto-exclusive, because the model decides which one is checked and may
// leave none checked. Qt would announce such a button to a screen reader as a check box; this
// one is announced as what it is, a radio button, checked or not.
namespace siacci {

class OptionButton : public QRadioButton {
    Q_OBJECT

public:
    explicit OptionButton(const QString& text = {}, QWidget* parent = nullptr);
};

} // namespace siacci
