#pragma once

#include "asr/ISpeechStatusListener.h"
#include "sqlite/QXTransferAudioModel.h"
#include "views/QXBaseView.h"

#include <QList>
#include <QPointer>

#include <functional>
#include <optional>

class Clock;
class FilePicker;
class IAsrService;
class IErrorAlert;
class QLabel;
class QXButton;
class QXLabel;
class QXTextField;
class QXUserInfoData;
class RowList;
class RWProgressView;
class WQSSqliteOperation;
namespace platform {
class IFileRevealer;
}

// One job of the transcription page's list: the transcript's path, and a ring with the
// job's progress while it runs, a button that shows the transcript in the file manager
// once it has ended. Listens to the speech service for its own job's progress.
class QXTransferAudioCellView : public QWidget, public ISpeechStatusListener {
    Q_OBJECT
public:
    QXTransferAudioCellView(IAsrService *speech, platform::IFileRevealer *revealer, QWidget *parent);
    ~QXTransferAudioCellView() override;

    void setModel(const std::optional<QXTransferAudioModel> &model); // nullopt: a blank row
    const std::optional<QXTransferAudioModel> &model() const { return m_model; }
    void openBtnClicked();

    QLabel *nameTextField() const { return m_name; }
    QXButton *openBtn() const { return m_openBtn; }
    RWProgressView *progressBtn() const { return m_progressBtn; }

    void speechManagerRecognitionUpdateTransferProgress(double progress, const QXTransferAudioModel &job) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();

    IAsrService *m_speech;
    platform::IFileRevealer *m_revealer;
    std::optional<QXTransferAudioModel> m_model;
    QLabel *m_name = nullptr;
    QXButton *m_openBtn = nullptr;
    RWProgressView *m_progressBtn = nullptr;
};

// Turns an audio file into a text file through the speech service. Each job is a row of
// "DBTransferAudioList" and writes "识别结果", a line break and the recognised text to
// <data root>/TransferAudio/<audio name>.txt (or <name>_<n>.txt when that is taken).
//
// The start button only prepares where the audio to send goes; startTransferAudio()
// runs a job on it. Only the end of the running job's own transcription ends it: the
// end of a live recognition, or one arriving with no job running, changes nothing.
// Main thread.
class QXTransferAudioView : public QXBaseView, public ISpeechStatusListener {
    Q_OBJECT
public:
    static constexpr const char kTableName[] = "DBTransferAudioList";
    static constexpr int kRowHeight = 30;

    struct Deps {
        IAsrService *speech = nullptr;
        // Queues the audio file of the next file transcription, with its job.
        std::function<void(const QString &path, const QXTransferAudioModel &job)> transferAudio;
        WQSSqliteOperation *table = nullptr;
        QXUserInfoData *state = nullptr; // recordStatus
        IErrorAlert *errors = nullptr;
        FilePicker *files = nullptr;
        platform::IFileRevealer *revealer = nullptr;
        QString root;                 // the data root; empty: the application's
        const Clock *clock = nullptr; // names the jobs; empty: the system's clock
    };

    explicit QXTransferAudioView(Deps deps, QWidget *parent = nullptr);
    ~QXTransferAudioView() override;

    void configTitle() override;
    void getTransferList();

    void browseBtnClicked();
    void saveAsBtnClicked();
    void startTransferBtnClicked();
    void startTransferAudio();

    void speechManagerRecognitionStatusChangeEndAsr(const QString &text, bool success,
                                                    const QXTransferAudioModel *job) override;

    // Where a job writes its transcript, for the audio at `outputPath`: <name>.txt in
    // the folder, or <name>_<n>.txt for the first n from 1 that is free.
    static QString transcriptPath(const QString &folder, const QString &outputPath);

    QString outputPath() const { return m_outputPath; }
    const QList<QXTransferAudioModel> &dataArray() const { return m_dataArray; }
    const std::optional<QXTransferAudioModel> &currentTransferAudioModel() const { return m_current; }
    QXTextField *pathTextField() const { return m_pathTextField; }
    QXLabel *defaultPathLabel() const { return m_defaultPathLabel; }
    RowList *list() const { return m_list; }
    QXTransferAudioCellView *cell(int row) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void configUI() override;
    void relayout();
    QString folder() const;
    QString freeIdStr(QString idStr) const;
    void showError(const QString &message);

    Deps m_deps;
    QWidget *m_pathView = nullptr;
    QXTextField *m_pathTextField = nullptr;
    QXButton *m_browseBtn = nullptr;
    QXLabel *m_defaultPathLabel = nullptr;
    QXButton *m_saveAsBtn = nullptr;
    QXButton *m_startTransferBtn = nullptr;
    QWidget *m_listView = nullptr;
    RowList *m_list = nullptr;

    QString m_outputPath;
    QList<QXTransferAudioModel> m_dataArray;
    std::optional<QXTransferAudioModel> m_current;
};
