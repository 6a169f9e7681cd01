#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QCloseEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quorvex {

class TupDialogHost;

// The download wizard: the current file and all files with their progress, then a finished
// page. Not modal; Cancel, Esc and the close box all ask before abandoning the upgrade.
class TupWizardForm : public QDialog {
    Q_OBJECT
public:
    explicit TupWizardForm(TupDialogHost& Host);
    ~TupWizardForm() override;

    // Applies the controller's wizard options and the texts of the chosen table.
    void Prepare();
    void ShowFinished();

    // The lines the controller fills while it downloads file Index (from 0) of Count.
    void ShowFileStart(const std::string& URL, int Index, int Count);
    void ShowFileSize(std::int64_t Bytes);
    void ShowProgress(int PercentsDone, int TotalPercentsDone, double TransferRate,
                      int EstimatedTimeLeft);

    void FinishBtnClick();
    void CancelBtnClick();

    QFrame* Panel1;
    QLabel* Image1;
    QLabel* WizardTitle;
    QLabel* AfterNote;
    QGroupBox* LCurrentFile;
    QLabel* LDownloadingFileFrom;
    QLineEdit* FileURL;
    QLabel* LFileSize;
    QLabel* LTransferRate;
    QLabel* LEstimatedTime;
    QProgressBar* ProgressCurrentFile;
    QGroupBox* LAllFiles;
    QLabel* AllDownloading;
    QProgressBar* ProgressAllFiles;
    QFrame* Bevel1;
    QLabel* AboutShadow;
    QLabel* AboutLabel;
    QPushButton* FinishBtn;
    QPushButton* CancelBtn;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc: what the enabled Cancel button does.
    void reject() override;

private:
    void CreateSidePanel();
    void CreateCurrentFileGroup();
    void CreateAllFilesGroup();
    void CreateFooter();
    void ApplyOptions();
    void ApplyTexts();
    void HideFileLocation();
    void FormClose();

    TupDialogHost& host_;
    bool closeAgreed_ = false;
};

// The wizard while it exists; null otherwise. Only one exists at a time.
TupWizardForm* WizardForm();

// Opens the wizard for this controller (creating it when needed) without waiting.
void ShowWizard(TupDialogHost& Host);
// Turns the wizard, when it exists, into its finished page.
void ShowWizardFinished();
// Closes the wizard, when it exists, without asking and without telling the controller.
void DestroyWizard();

} // namespace quorvex
