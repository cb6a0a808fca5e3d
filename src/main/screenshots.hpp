#pragma once

#include <QString>
#include <QWidget>

// `make screenshots`: every window in its typical states, rendered offscreen to PNG files.
namespace siacci::screenshots {

// Renders a widget (shown, laid out, events processed) into dir/name.png.
void save(QWidget& widget, const QString& dir, const QString& name);

} // namespace siacci::screenshots
