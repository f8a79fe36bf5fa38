// The numeric keypad's decimal key in the amount edits. On a Spanish layout that key types
// "." (some layouts give ","), and a "." in an amount is a thousands point, so "12.50"
// typed on the keypad would not read at all. In the euro and peseta edits the key always
// types the decimal comma.
#pragma once

#include <QObject>

class QLineEdit;

class KeypadComma : public QObject {
    Q_OBJECT

public:
    explicit KeypadComma(QObject* parent) : QObject(parent) {}

    // Starts filtering the keys of one edit; the filter belongs to its parent.
    void Watch(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
