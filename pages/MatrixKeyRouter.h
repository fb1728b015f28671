// Routing from the keyboard on the matrix grid: the arrow keys move a focus mark over the
// shown cross-points and Space or Enter routes there; typing an output number and then an
// input number routes that input to that output. A number is complete as soon as one more
// digit could not name a port (so "2" "3" routes input 3 to output 2 on a 4 x 4 device), or
// when Enter ends it; Escape forgets what was typed.
#pragma once

#include <QtGlobal>

class MatrixKeyRouter
{
public:
    struct Result {
        bool handled = false;
        bool route = false;
        quint32 input = 0; // 0-based, page offsets included
        quint32 output = 0;
    };

    // The shown part of the grid: its first input and output and how many of each are shown,
    // and the port counts that typed numbers may name.
    void setView(quint32 inputStart, quint32 visibleInputs, quint32 outputStart, quint32 visibleOutputs,
        quint32 inputCount, quint32 outputCount);

    // key is a Qt::Key; only unmodified keys (keypad allowed) are taken.
    Result key(int key, bool modified);

    quint32 cursorRow() const { return m_row; }
    quint32 cursorColumn() const { return m_column; }
    bool pendingOutput() const { return m_outputChosen; }
    // 0-based output waiting for its input.
    quint32 chosenOutput() const { return m_output; }
    // The digits typed for the number not yet complete (0 when none).
    quint32 typed() const { return m_typed; }
    void cancel();

private:
    Result digit(quint32 value);
    Result completeNumber();

    quint32 m_inputStart = 0;
    quint32 m_visibleInputs = 0;
    quint32 m_outputStart = 0;
    quint32 m_visibleOutputs = 0;
    quint32 m_inputCount = 0;
    quint32 m_outputCount = 0;
    quint32 m_row = 0;
    quint32 m_column = 0;
    bool m_outputChosen = false;
    quint32 m_output = 0;
    quint32 m_typed = 0;
    bool m_typing = false;
};
