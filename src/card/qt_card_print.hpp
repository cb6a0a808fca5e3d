#pragma once

#include "card/card_layout.hpp"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QWidget;
class QRectF;

// The printed range card on paper, in a PDF file or in an image: one paint routine for all.
namespace siacci::card {

// Paints one page of draw commands with a painter whose device has `pixelsPerMm` pixels to the
// millimetre, from the page's top-left corner.
void paintCardPage(QPainter& painter, const PageDrawing& page, double pixelsPerMm);

// Where a text of a drawing stands once painted on `device`, in millimetres from the page's
// corner: its real width in the card's font (the layout reckons with a fixed pitch), from the
// top of the type to its baseline.
QRectF paintedTextRect_mm(const DrawText& text, const QPaintDevice& device);

// Every page on a printer or a PDF writer (set to A4, no margins); the number of pages, 0 when
// the device could not be opened.
int paintCard(QPagedPaintDevice& device, const PrintedCard& card);

// The program's print preview ("Anteprima di stampa") of a card; true when the user printed.
bool showCardPreview(const PrintedCard& card, QWidget* parent);

// The card as the bytes of a PDF document, made in memory; empty when it could not be painted.
QByteArray cardPdf(const PrintedCard& card);

// Why a PDF was not written, or empty. Written through the careful writer: the file appears
// complete or not at all; a target that exists and is not a regular file (a directory, a
// device, a pipe) is refused.
QString writeCardPdf(const PrintedCard& card, const QString& path);

} // namespace siacci::card
