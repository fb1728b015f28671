// The scene dialog: stores the device's current state in one of its 20 scene slots, recalls
// a slot, and names slots. The device keeps the scenes; the program only sends the two scene
// commands and keeps the slot names as language texts.
#pragma once

#include "shell/MyFramelessDialog.h"

#include <QPoint>
#include <QSize>
#include <functional>

class MyComboBox;
class QFrame;
class QLabel;
class QLineEdit;

class Ui_SaveLoad : public MyFramelessDialog
{
    Q_OBJECT
public:
    static constexpr int SceneCount = 20;

    explicit Ui_SaveLoad(QWidget *parent = nullptr);
    ~Ui_SaveLoad() override;

    // Top-left corner of a window of the given size, centred in at most the first
    // 1920 x 1080 pixels of a screen of the given size.
    static QPoint PositionForScreen(const QSize &screenSize, const QSize &windowSize);

    QWidget *contentWidget = nullptr;
    QFrame *frame = nullptr;
    QLabel *saveLabel = nullptr;
    MyComboBox *saveComboBox = nullptr;
    QLabel *loadLabel = nullptr;
    MyComboBox *loadComboBox = nullptr;
    QLabel *nameLabel = nullptr;
    QLineEdit *nameEdit = nullptr;
    // Asked after the load is confirmed (locked outputs, the undo step); false stops the load.
    std::function<bool(QWidget *dialog)> beforeLoad;

signals:
    void SGL_UpdateEmit();

public slots:
    void SLT_CloseMyDialog();
    void SLT_SetSaveLayout(int index);
    void SLT_SetLoadLayout(int index);

private:
    void CreateWidgets();
    void PlaceWidgets();
    void SetTexts();
    void MakeConnections();
    void RenameSlot(int index);
};
