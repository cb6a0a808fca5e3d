#pragma once

#include <QString>
#include <QWidget>

// `make screenshots`: every window in its typical states, rendered offscreen to PNG files. Each
// window's scenes sit beside its view in a *_screenshots.cpp file, built into this tool only.
namespace siacci::screenshots {

// Renders a widget (shown, laid out, events processed) into dir/name.png.
void save(QWidget& widget, const QString& dir, const QString& name);

void form4(const QString& dir);
void calc(const QString& dir);
void cb(const QString& dir);
void graph(const QString& dir);
void files(const QString& dir);
// The help window at its contents, the about box, the print preview of a sample report and the
// toolbar's icons.
void print(const QString& dir);
// The range card of a .308 load with wind and slope, its plot, and both printed layouts.
void card(const QString& dir);
// ARMERIA with two rifles (armeria.png, armeria_arma.png) and the card with the armoury.
void armoury(const QString& dir);

} // namespace siacci::screenshots
