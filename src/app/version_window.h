#pragma once
// The version window: product title, version and tagline, and a button that closes it.

#include <QDialog>

class QLabel;
class QPushButton;

class バージョン情報 : public QDialog {
public:
    explicit バージョン情報(QWidget* parent = nullptr);

    // Names the database in use below the tagline.
    void showDatabase(const QString& path);

    QLabel* Label1; // product title
    QLabel* Label2; // version
    QLabel* Label3; // tagline
    QLabel* databaseLabel; // the database in use
    QPushButton* Command1;
};
