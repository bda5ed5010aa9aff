#pragma once
// CProgressDialog: the modeless progress dialog of every long operation: a
// caption, a bar, a percentage, a message line and a Cancel button. While it
// is shown the rest of the application takes no input, and each new position
// lets the pending window events run, so the windows keep painting during
// the loop and the Cancel button (or Escape) can be pressed; the operation
// asks IsCancelled between frames and stops, leaving the document as it was.

#include "editor/IEditorProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CProgressDialog : public QDialog, public IEditorProgress {
    Q_OBJECT

public:
    explicit CProgressDialog(QWidget* parent = nullptr);

    void Begin(const std::string& caption) override;
    void SetRange(int lower, int upper) override;
    void SetPosition(int position) override;
    void SetMessage(const std::string& text) override;
    bool IsCancelled() const override { return m_cancelled; }
    void End() override;
    // What the Cancel button does.
    void Cancel();
    QPushButton* CancelButton() const { return m_cancel; }

    // (position − lower) × 100 / (upper − lower), printed as "%d%"; 0% for
    // an empty range.
    static QString PercentText(int position, int lower, int upper);
    QString ShownPercent() const;
    QString ShownMessage() const;

protected:
    // Escape and the window's close button ask to cancel, as the button does.
    void reject() override { Cancel(); }
    void closeEvent(QCloseEvent* event) override;

private:
    void LetEventsRun();

    QProgressBar* m_bar;
    QLabel* m_percent;
    QLabel* m_message;
    QPushButton* m_cancel;
    bool m_cancelled = false;
    int m_lower = 0;
    int m_upper = 100;
};
