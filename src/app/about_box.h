#pragma once

#include <QDialog>

namespace lumetta {

// Program name, version, what the program does and where to find it.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
};

}  // namespace lumetta
