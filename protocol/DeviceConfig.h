// The configuration of a device as a backup holds it: everything the program can read from the
// device and write back (routes, input and output settings, the multiview state of every output,
// the wall), the port names the program gives the ports, and, for information, the model, the
// firmware versions, the device's link settings, the date and the program version.
//
// Ports are 0-based here; the JSON form is 1-based as the device counts, and uses the field
// names of the headless client's state output where both have a field. A value of -1 (null in
// JSON) is one the device did not report, or that the file leaves as it is.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

struct DeviceConfig {
    // The format this program writes; a file of a newer one is refused.
    static constexpr int FormatVersion = 1;
    static constexpr int MaxBezelEdge = 255;
    static constexpr int MaxUserWindowValue = 9999;

    struct Input {
        QString name; // empty: the program's default
        int audio = -1; // InAudioWords
        int edidMode = -1; // EdidModeWords
    };
    struct Multiview {
        int mode = 0; // MultiviewModeWords
        int windows[4] = { -1, -1, -1, -1 }; // input of each window the mode shows
        int aspect = -1; // AspectWords, multi-window modes only
        int layout = -1; // 0-based, multi-window modes only
        int pipPos = -1; // PipPosWords, PIP only
        int pipSize = -1; // PipSizeWords, PIP only
        bool userWindowKnown = false; // PIP with a USER position or size, or the presenter layout
        int userWindow[4] = { 0, 0, 0, 0 }; // H start, V start, H size, V size
        int audioSource = -1; // AudioSourceWords
        int vka = -1; // VkaWords
        int itc = -1; // OnOffWords
    };
    struct Output {
        QString name;
        int route = -1; // the input routed to the output
        int hdcp = -1; // HdcpWords
        int resolution = -1; // OutResolutionWords
        int rotation = -1; // RotationWords
        int mute = -1; // OnOffWords (ON or OFF)
        int freeze = -1; // OnOffWords (ON or OFF)
        Multiview multiview;
    };
    struct WallCell {
        int output = 0;
        int input = 0;
        bool spliced = false;
        bool singleExit = false;
        int anchor = 0; // cell index of the group's top-left cell
        int edges[4] = { 0, 0, 0, 0 }; // left, right, up, bottom
    };
    struct Info {
        QString mainVersion;
        QString keyboardVersion;
        bool networkKnown = false;
        QString ip, port, mask, gateway;
        int baudRate = 0; // 0: not read
        QString date; // ISO 8601, UTC
        QString programVersion;
    };

    QString model;
    QVector<Input> inputs;
    QVector<Output> outputs;
    int wallRows = 0;
    int wallCols = 0;
    QVector<WallCell> wallCells; // row-major, wallRows × wallCols
    Info info;

    // Routes, multiview, wall and EDID modes from DeviceState; the rest is left for the caller,
    // who collected it from the replies.
    static DeviceConfig FromDeviceState();
    // Queues the reads a backup is made of: routes, every output's multiview and signal
    // settings, every input's signal and EDID mode, the wall (not the link settings).
    static void QueueReads();

    QJsonObject toJson() const;
    // Reads and checks a file's object. On refusal returns false with one line in error that
    // names the field ("multiview[2].pipPos: ..."); nothing of a refused file is used.
    static bool FromJson(const QJsonObject &object, DeviceConfig *config, QString *error);
    // Reads the text of a file (JSON) and checks it as FromJson does.
    static bool FromText(const QByteArray &text, DeviceConfig *config, QString *error);

    // What of the wanted configuration the device does not have, in words, one entry per
    // field; fields the wanted configuration leaves open (-1) and the names are not compared,
    // nor the link settings unless withLink.
    static QStringList Differences(const DeviceConfig &device, const DeviceConfig &wanted, bool withLink);

    // The cells of the group anchored at a cell, as top, left, bottom, right; false when the
    // cell anchors no group.
    bool groupBlock(int anchorCell, int *top, int *left, int *bottom, int *right) const;
};
