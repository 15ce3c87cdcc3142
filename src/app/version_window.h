#pragma once
// The version window: product title, version and tagline, and a button that closes it.

#include <QDialog>

class QLabel;
class QPushButton;

class バージョン情報 : public QDialog {
public:
    explicit バージョン情報(QWidget* parent = nullptr);

    QLabel* Label1;       // product title
    QLabel* Label2;       // version
    QLabel* Label3;       // tagline
    QPushButton* Command1;
};
