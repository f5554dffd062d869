// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

// A group box of the main window's top row. Its controls sit at fixed places laid out for a frame
// whose top line runs through the middle of the title, so the frame is drawn there whatever the
// style would do; a title wider than the box (a long file name) is shortened in its middle,
// keeping the file's extension, rather than cut at the box's edge.
class PanelGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit PanelGroupBox(const QString& title, QWidget* parent = nullptr);

    // The file whose name is the title; its path is the tooltip while the title names it.
    void setFilePath(const QString& path);
    // The title as it is drawn.
    QString shownTitle() const;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeFrameAtTitle();

    QString m_filePath;
};
