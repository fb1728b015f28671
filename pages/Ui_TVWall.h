// The TV wall page: how many screens high and wide the wall is, the bezel compensation of a
// spliced group, and the wall display grid that carries the splicing and per-cell actions.
// The page sizes the grid, reads the wall layout back from the device and passes the bezel
// values on; the grid shows the device's wall after every layout reply.
#pragma once

#include <QWidget>

class MyComboBox;
class MyTableWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Ui_TVWall : public QWidget
{
    Q_OBJECT
public:
    // The longest wall side offered, and the most screens the Available list counts to.
    static constexpr quint32 MaxSide = 16;
    static constexpr quint32 MaxAvailable = 256;
    static constexpr quint32 MaxEdge = 255;
    static constexpr int EdgeCount = 4;

    explicit Ui_TVWall(QWidget *parent = nullptr);

    // Sets every text again. Unless textsOnly, the lists and edits are emptied and filled
    // again, showing the wall size the device has.
    void Retranslate(bool textsOnly);
    // Fills the row, column and available lists once the model is confirmed.
    void Fill();
    // Asks the device for its wall layout.
    void ReadWall();
    // Shows the wall size a layout reply named, unless a wall is being written: the lists then
    // show the size being written until the device has confirmed its last line.
    void SelectRowsCols(quint32 rows, quint32 columns);

    QGroupBox *configGroup = nullptr;
    QLabel *rowLabel = nullptr;
    QLabel *columnLabel = nullptr;
    QLabel *availableLabel = nullptr;
    MyComboBox *rowComboBox = nullptr;
    MyComboBox *columnComboBox = nullptr;
    MyComboBox *availableComboBox = nullptr;
    QPushButton *writeButton = nullptr;
    QPushButton *readButton = nullptr;
    QGroupBox *bezelGroup = nullptr;
    // Left, right, up, bottom.
    QLabel *edgeLabels[EdgeCount] = {};
    QLineEdit *edgeEdits[EdgeCount] = {};
    QPushButton *bezelWriteButton = nullptr;
    QLabel *displayLabel = nullptr;
    MyTableWidget *grid = nullptr;

signals:
    void SGL_UpdateEmit();
    void SGL_UpdateContent_TvWall();
    void SGL_SetTvWall_Bezel(unsigned Edge_H_Left, unsigned Edge_H_Right, unsigned Edge_V_Top, unsigned Edge_V_Bottom);

public slots:
    void SLT_ModifyAvailableShow(int index);
    void SLT_SetTvWallInfo(bool checked);
    void SLT_ReadTvWallInfo(bool checked);
    void SLT_SetBezelInfo(bool checked);
    void SLT_EnableBezel(bool IsEnabled);
    // The link is gone: the wall being written will not be confirmed.
    void SLT_LinkLost();

private:
    QGroupBox *buildConfigGroup();
    QGroupBox *buildBezelGroup();
    void setTexts();
    void setEdgeLabels();
    void connectGrid();
    void showSize(quint32 rows, quint32 columns);
    // The lists show the wall the grid shows.
    void showGridSize();
    // Marks the entries of each list that cannot go with the other list's value.
    void markFittingSizes();
    void setTabOrderTopDown();
};
