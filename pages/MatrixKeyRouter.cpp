#include "pages/MatrixKeyRouter.h"

#include <Qt>

void MatrixKeyRouter::setView(quint32 inputStart, quint32 visibleInputs, quint32 outputStart,
    quint32 visibleOutputs, quint32 inputCount, quint32 outputCount)
{
    m_inputStart = inputStart;
    m_visibleInputs = visibleInputs;
    m_outputStart = outputStart;
    m_visibleOutputs = visibleOutputs;
    m_inputCount = inputCount;
    m_outputCount = outputCount;
    // The mark stays on a shown cross-point when the grid shrinks.
    if (m_column >= m_visibleInputs)
        m_column = m_visibleInputs ? m_visibleInputs - 1 : 0;
    if (m_row >= m_visibleOutputs)
        m_row = m_visibleOutputs ? m_visibleOutputs - 1 : 0;
}

void MatrixKeyRouter::cancel()
{
    m_outputChosen = false;
    m_typed = 0;
    m_typing = false;
}

MatrixKeyRouter::Result MatrixKeyRouter::key(int key, bool modified)
{
    Result result;
    if (modified)
        return result;
    result.handled = true;
    switch (key) {
    case Qt::Key_Left:
        if (m_column > 0)
            --m_column;
        return result;
    case Qt::Key_Right:
        if (m_column + 1 < m_visibleInputs)
            ++m_column;
        return result;
    case Qt::Key_Up:
        if (m_row > 0)
            --m_row;
        return result;
    case Qt::Key_Down:
        if (m_row + 1 < m_visibleOutputs)
            ++m_row;
        return result;
    case Qt::Key_Escape:
        cancel();
        return result;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_typing)
            return key == Qt::Key_Space ? result : completeNumber();
        if (m_outputChosen || m_visibleInputs == 0 || m_visibleOutputs == 0)
            return result;
        result.route = true;
        result.input = m_inputStart + m_column;
        result.output = m_outputStart + m_row;
        return result;
    default:
        break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return digit(quint32(key - Qt::Key_0));
    result.handled = false;
    return result;
}

MatrixKeyRouter::Result MatrixKeyRouter::digit(quint32 value)
{
    m_typed = m_typed * 10 + value;
    m_typing = true;
    const quint32 count = m_outputChosen ? m_inputCount : m_outputCount;
    if (m_typed * 10 > count)
        return completeNumber();
    Result result;
    result.handled = true;
    return result;
}

// A number naming no port forgets everything typed, so a slip never routes elsewhere.
MatrixKeyRouter::Result MatrixKeyRouter::completeNumber()
{
    Result result;
    result.handled = true;
    const quint32 number = m_typed;
    m_typed = 0;
    m_typing = false;
    const quint32 count = m_outputChosen ? m_inputCount : m_outputCount;
    if (number < 1 || number > count) {
        cancel();
        return result;
    }
    if (!m_outputChosen) {
        m_outputChosen = true;
        m_output = number - 1;
        return result;
    }
    result.route = true;
    result.input = number - 1;
    result.output = m_output;
    cancel();
    return result;
}
