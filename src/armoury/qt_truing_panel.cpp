#include "armoury/qt_truing_panel.hpp"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace siacci::armoury {

TruingPanelWidget::TruingPanelWidget(CardArmoury& armoury, const card::Cartellino& card, QWidget* parent)
    : QGroupBox("Verifica sul campo", parent), m_model(armoury, card)
{
    setObjectName("verificaSulCampo");
    setToolTip("Ricava dal tiro al poligono il coefficiente o la velocità veri della carica");
    m_observation = new QComboBox(this);
    m_observation->setObjectName("osservazione");
    m_observation->addItems({"Velocità misurata", "Correzione data"});
    m_observation->setToolTip("Che cosa avete osservato: una velocità misurata lontano dalla bocca, o "
                              "la correzione data all'ottica per colpire");
    m_value = new QLineEdit(this);
    m_value->setObjectName("valoreOsservato");
    m_value->setMaximumWidth(80);
    m_unit = new QComboBox(this);
    m_unit->setObjectName("unitaOsservata");
    m_unit->addItems({"click", "MOA", "MRAD", "cm"});
    m_unit->setToolTip("Unità della correzione, data in su dallo zero (in giù: negativa)");
    m_distance = new QLineEdit(this);
    m_distance->setObjectName("distanzaOsservata");
    m_distance->setMaximumWidth(70);
    m_distance->setToolTip("Distanza lungo la linea di mira, come la misura il telemetro");
    auto* solve = new QPushButton("Ca&lcola", this);
    solve->setObjectName("calcolaVerifica");
    m_solveBc = new QPushButton("Ricava il coe&fficiente", this);
    m_solveBc->setObjectName("ricavaCoefficiente");
    m_result = new QLabel(this);
    m_result->setObjectName("esitoVerifica");
    m_result->setWordWrap(true);
    m_apply = new QPushButton("A&pplica", this);
    m_apply->setObjectName("applicaVerifica");
    m_apply->setToolTip("Tiene il valore trovato nella carica (e nel cartellino)");

    connect(m_observation, &QComboBox::currentIndexChanged, this, [this](int i) {
        act([&] { m_model.observationChosen(i == 0 ? Observation::Velocity : Observation::Correction); });
    });
    connect(m_unit, &QComboBox::currentIndexChanged, this,
            [this](int i) { act([&] { m_model.unitChosen(static_cast<CorrectionUnit>(i)); }); });
    connect(m_value, &QLineEdit::textEdited, this,
            [this](const QString& t) { act([&] { m_model.valueChanged(t.toStdString()); }); });
    connect(m_distance, &QLineEdit::textEdited, this,
            [this](const QString& t) { act([&] { m_model.distanceChanged(t.toStdString()); }); });
    connect(solve, &QPushButton::clicked, this, [this] { act([this] { m_model.solveClicked(); }); });
    connect(m_solveBc, &QPushButton::clicked, this, [this] { act([this] { m_model.solveBcClicked(); }); });
    connect(m_apply, &QPushButton::clicked, this, [this] {
        act([this] { m_model.applyClicked(); });
        if (applied)
            applied();
    });

    // A column, to sit in the card's input column: each field named by its label.
    auto* form = new QFormLayout(this);
    auto label = [this](const char* caption, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(caption), this);
        l->setBuddy(buddy);
        return l;
    };
    form->addRow(label("&Osservazione", m_observation), m_observation);
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(m_value);
    valueRow->addWidget(m_unit);
    valueRow->addStretch();
    m_unit->setAccessibleName("Unità della correzione");
    form->addRow(label("&Valore", m_value), valueRow);
    auto* distanceRow = new QHBoxLayout;
    distanceRow->addWidget(m_distance);
    distanceRow->addWidget(new QLabel("m", this));
    distanceRow->addStretch();
    form->addRow(label("&Distanza", m_distance), distanceRow);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(solve);
    buttons->addWidget(m_solveBc);
    buttons->addStretch();
    form->addRow(buttons);
    form->addRow(m_result);
    form->addRow(m_apply);
    refresh();
}

template <typename F> void TruingPanelWidget::act(F&& f)
{
    f();
    refresh();
}

void TruingPanelWidget::refresh()
{
    const QSignalBlocker b1(m_observation), b2(m_unit);
    m_observation->setCurrentIndex(m_model.observation() == Observation::Velocity ? 0 : 1);
    m_unit->setCurrentIndex(static_cast<int>(m_model.unit()));
    m_unit->setEnabled(m_model.unitEnabled());
    m_value->setToolTip(QString::fromStdString(m_model.valueCaption()));
    m_value->setPlaceholderText(m_model.observation() == Observation::Velocity ? "m/s" : "su +");
    if (m_value->text().toStdString() != m_model.valueText())
        m_value->setText(QString::fromStdString(m_model.valueText()));
    if (m_distance->text().toStdString() != m_model.distanceText())
        m_distance->setText(QString::fromStdString(m_model.distanceText()));
    m_result->setText(QString::fromStdString(m_model.resultText()));
    m_result->setStyleSheet(m_model.resultIsRefusal() ? "color: #b00000;" : "font-weight: bold;");
    m_solveBc->setVisible(m_model.solveBcOffered());
    m_apply->setEnabled(m_model.applyEnabled());
}

} // namespace siacci::armoury
