// The live-room controls under the matrix grid: the Take mode toggle with Take and Cancel,
// the line that says what is staged, skipped or being typed, and the name import/export.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

class MatrixRoutingBar : public QWidget
{
    Q_OBJECT
public:
    explicit MatrixRoutingBar(QWidget *parent);

    void Retranslate();
    // How many outputs a Take would change; the Take and Cancel buttons follow it.
    void ShowStagedCount(int count, bool takeMode);
    void ShowNote(const QString &text);
    void ShowKeyRoute(const QString &text);

    QPushButton *takeModeButton = nullptr;
    QPushButton *takeButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QLabel *stageLabel = nullptr;
    QLabel *noteLabel = nullptr;
    QLabel *keyRouteLabel = nullptr;
    QPushButton *exportNamesButton = nullptr;
    QPushButton *importNamesButton = nullptr;

private:
    int m_stagedCount = 0;
};
