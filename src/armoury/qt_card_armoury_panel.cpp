#include "armoury/qt_card_armoury_panel.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace siacci::armoury {

namespace {

void setItems(QComboBox* box, const std::vector<std::string>& items, int current)
{
    const QSignalBlocker block(box);
    QStringList list;
    for (const auto& item : items)
        list << QString::fromStdString(item);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (shown != list) {
        box->clear();
        box->addItems(list);
    }
    box->setCurrentIndex(current);
}

} // namespace

CardArmouryPanel::CardArmouryPanel(ArmourySession& session, Dialogs& dialogs, card::Cartellino& card, QWidget* parent)
    : QWidget(parent), m_session(session), m_model(session, card, dialogs)
{
    setObjectName("armeriaNelCartellino");
    m_rifle = new QComboBox(this);
    m_rifle->setObjectName("arma");
    m_rifle->setToolTip("Un'arma dell'armeria: ne riempie i dati nel cartellino");
    m_rifle->setMinimumContentsLength(16);
    m_load = new QComboBox(this);
    m_load->setObjectName("carica");
    m_load->setToolTip("Una carica dell'arma: ne riempie i dati nel cartellino");
    m_load->setMinimumContentsLength(20);
    m_save = new QPushButton("Sal&va nell'armeria", this);
    m_save->setObjectName("salvaArmeria");
    m_save->setToolTip("Tiene la carica del cartellino nell'arma scelta: come nuova carica o, per una "
                       "carica dell'armeria, aggiornandola se lo dite; dell'arma cambia solo ciò che "
                       "avete modificato");
    m_velocity = new QLabel(this);
    m_velocity->setObjectName("v0Corretta");
    m_status = new QLabel(this);
    m_status->setObjectName("statoArmeria");
    m_status->setStyleSheet("color: #1a6e1a;");

    connect(m_rifle, &QComboBox::currentIndexChanged, this, [this](int i) {
        act([&] { m_model.rifleChosen(i); });
    });
    connect(m_load, &QComboBox::currentIndexChanged, this, [this](int i) {
        act([&] { m_model.loadChosen(i); });
    });
    connect(m_save, &QPushButton::clicked, this, [this] { act([this] { m_model.saveClicked(); }); });

    m_truing = new TruingPanelWidget(m_model, card, this);
    m_truing->applied = [this] {
        refresh();
        if (cardChanged)
            cardChanged();
    };

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    auto* rifleLabel = new QLabel("&Arma", this);
    rifleLabel->setBuddy(m_rifle);
    auto* loadLabel = new QLabel("Ca&rica", this);
    loadLabel->setBuddy(m_load);
    m_rifle->setAccessibleName("Arma dell'armeria");
    m_load->setAccessibleName("Carica dell'armeria");
    row->addWidget(rifleLabel);
    row->addWidget(m_rifle);
    row->addWidget(loadLabel);
    row->addWidget(m_load);
    row->addWidget(m_save);
    row->addWidget(m_velocity);
    row->addWidget(m_status, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    column->addWidget(m_truing); // the card window moves it into its input column

    m_subscription = m_session.subscribe([this] { refresh(); });
    refresh();
}

CardArmouryPanel::~CardArmouryPanel()
{
    m_session.unsubscribe(m_subscription);
}

template <typename F> void CardArmouryPanel::act(F&& f)
{
    f();
    refresh();
    if (cardChanged)
        cardChanged();
}

void CardArmouryPanel::refresh()
{
    setItems(m_rifle, m_model.rifleItems(), m_model.rifleIndex());
    setItems(m_load, m_model.loadItems(), m_model.loadIndex());
    m_load->setEnabled(m_model.rifleIndex() > 0);
    m_save->setEnabled(m_model.saveEnabled());
    m_velocity->setText(QString::fromStdString(m_model.correctedVelocityText()));
    m_status->setText(QString::fromStdString(m_model.status()));
}

} // namespace siacci::armoury
