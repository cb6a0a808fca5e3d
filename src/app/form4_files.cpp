// The shot files' side of the main window: what goes into a file, and what an opened file does.
#include "app/form4.hpp"

namespace siacci {

BalRecord Form4::currentRecord() const
{
    return recordFromShot(m_shot, m_mode);
}

std::string Form4::descriptionText() const
{
    return fieldText(Field::Text10);
}

void Form4::fileOpened(const BalReadResult& result)
{
    TableMode mode = m_mode;
    applyRecord(result, m_shot, mode);
    Calcola();
    setGridHoldsTable();
    // The window takes the file's mode first, so that the switch of units converts nothing:
    // the values are stored in the units of their mode.
    setTableMode(mode);
    switch (mode) {
    case TableMode::Metric: italiano(); break;
    case TableMode::Imperial: inglese(); break;
    case TableMode::Terminal:
        if (inputsComputable())
            rscalc();
        break;
    }
    notifyChanged();
}

void Form4::fileSaved()
{
    Calcola();
    notifyChanged();
}

} // namespace siacci
