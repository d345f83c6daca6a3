#include "QXTransferAudioView.h"

#include "DataPaths.h"
#include "HRVLocalizedString.h"
#include "PZLog.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "asr/IAsrService.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXTextField.h"
#include "desktop/FilePicker.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "platform/IFileRevealer.h"
#include "services/IErrorAlert.h"
#include "sqlite/WQSSqliteOperation.h"
#include "views/RWProgressView.h"
#include "views/RowList.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr int kSide = 20;
constexpr int kBoxHeight = 20;
constexpr int kBrowseWidth = 50;
constexpr int kStartWidth = 60;
constexpr int kStartGap = 10;    // the least between the save-as and the start buttons
constexpr int kTitlePadding = 4; // between a pill button's title and its rounded ends
const QColor kGrey(112, 112, 112);
const QColor kPlaceholderGrey(204, 204, 204);
const QColor kButtonColor(17, 17, 18);
const QColor kListColor(28, 28, 29);

QWidget *box(QWidget *parent)
{
    auto *view = new QXBaseView(parent);
    view->setLayerBorder(kGrey, 1);
    view->setLayerCornerRadius(8);
    return view;
}

QXButton *darkButton(QWidget *parent, qreal radius)
{
    auto *button = new QXButton(parent);
    button->setLayerBackgroundColor(kButtonColor);
    button->setLayerCornerRadius(radius);
    button->setTitleColor(Qt::white);
    button->setFont(qxSystemFont(10));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The part of the file name before its first ".".
QString baseName(const QString &path)
{
    const QString name = path.section(QLatin1Char('/'), -1);
    return name.section(QLatin1Char('.'), 0, 0);
}
} // namespace

// --- one job ---

QXTransferAudioCellView::QXTransferAudioCellView(IAsrService *speech, platform::IFileRevealer *revealer,
                                                 QWidget *parent)
    : QWidget(parent), m_speech(speech), m_revealer(revealer)
{
    m_name = new QLabel(this);
    m_name->setFont(qxSystemFont(14));
    QPalette text = m_name->palette();
    text.setColor(QPalette::WindowText, Qt::white);
    m_name->setPalette(text);
    m_openBtn = new QXButton(this);
    m_openBtn->setImage(QPixmap::fromImage(namedImage(QStringLiteral("person_open_icon"))));
    LayerStyle flat = m_openBtn->layerStyle();
    flat.borderWidth = 0;
    m_openBtn->setLayerStyle(flat);
    m_openBtn->setFixedSize(20, 20);
    m_openBtn->setFocusPolicy(Qt::NoFocus);
    connect(m_openBtn, &QXButton::clicked, this, &QXTransferAudioCellView::openBtnClicked);
    m_progressBtn = new RWProgressView(this);
    m_progressBtn->setImage(QPixmap::fromImage(namedImage(QStringLiteral("person_btn_zanting"))));
    m_progressBtn->setProgressLineWidth(2);
    m_progressBtn->setBackgroundLineWidth(2);
    m_progressBtn->setFixedSize(20, 20);
    m_progressBtn->setFocusPolicy(Qt::NoFocus);
    if (m_speech)
        m_speech->addStatusListener(this);
    setModel(std::nullopt);
}

QXTransferAudioCellView::~QXTransferAudioCellView()
{
    if (m_speech)
        m_speech->removeStatusListener(this);
}

void QXTransferAudioCellView::setModel(const std::optional<QXTransferAudioModel> &model)
{
    const bool sameJob = model && m_model && model->idStr == m_model->idStr;
    m_model = model;
    if (!sameJob)
        m_progressBtn->setProgress(0);
    const bool running = model && model->status == 0;
    m_progressBtn->setVisible(running);
    m_openBtn->setVisible(model && !running);
    relayout();
}

void QXTransferAudioCellView::relayout()
{
    const QString path = m_model ? m_model->path.value_or(QString()) : QString();
    const int nameWidth = std::max(0, width() - 5 - 40);
    m_name->setGeometry(5, height() - 5 - 18, nameWidth, 18);
    m_name->setText(m_name->fontMetrics().elidedText(path, Qt::ElideMiddle, nameWidth));
    m_name->setToolTip(path);
    m_openBtn->move(width() - 8 - 20, (height() - 20) / 2);
    m_progressBtn->move(width() - 8 - 20, (height() - 20) / 2);
}

void QXTransferAudioCellView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void QXTransferAudioCellView::openBtnClicked()
{
    if (m_model && m_model->path && m_revealer)
        m_revealer->reveal(*m_model->path);
}

void QXTransferAudioCellView::speechManagerRecognitionUpdateTransferProgress(double progress,
                                                                             const QXTransferAudioModel &job)
{
    if (!m_model || !job.idStr || job.idStr->isEmpty() || job.idStr != m_model->idStr)
        return;
    m_progressBtn->setProgress(progress, true);
}

// --- the page ---

QXTransferAudioView::QXTransferAudioView(Deps deps, QWidget *parent) : QXBaseView(parent), m_deps(std::move(deps))
{
    configUI();
    configTitle();
    // The job table is made on the next turn of the event loop, after the first
    // listing (which finds nothing on a fresh database).
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_deps.table)
                return;
            QString error;
            if (!m_deps.table->createTableWithtableName<QXTransferAudioModel>(QString::fromLatin1(kTableName), {},
                                                                              &error))
                qxWarning("transfer") << "the job table could not be made:" << error;
        },
        Qt::QueuedConnection);
}

QXTransferAudioView::~QXTransferAudioView()
{
    if (m_deps.speech)
        m_deps.speech->removeStatusListener(this);
}

QString QXTransferAudioView::folder() const
{
    const QString root = m_deps.root.isEmpty() ? DataPaths::dataRoot() : m_deps.root;
    return QDir(root).filePath(QStringLiteral("TransferAudio"));
}

void QXTransferAudioView::configUI()
{
    setLayerBackgroundColor(kListColor);
    m_pathView = box(this);
    m_pathTextField = new QXTextField(m_pathView);
    m_pathTextField->setFont(qxSystemFont(12));
    QPalette field = m_pathTextField->palette();
    field.setColor(QPalette::PlaceholderText, kPlaceholderGrey);
    field.setColor(QPalette::Text, Qt::white);
    m_pathTextField->setPalette(field);

    m_browseBtn = darkButton(this, 15);
    m_browseBtn->setObjectName(QStringLiteral("browse"));
    connect(m_browseBtn, &QXButton::clicked, this, &QXTransferAudioView::browseBtnClicked);

    m_defaultPathLabel = new QXLabel(this);
    m_defaultPathLabel->setFont(qxSystemFont(12));
    m_defaultPathLabel->setTextColor(kPlaceholderGrey);
    m_defaultPathLabel->setTextFormat(Qt::PlainText);

    m_saveAsBtn = new QXButton(this);
    m_saveAsBtn->setObjectName(QStringLiteral("saveAs"));
    m_saveAsBtn->setFont(qxSystemFont(12));
    m_saveAsBtn->setTitleColor(QColor(0, 175, 204));
    LayerStyle flat = m_saveAsBtn->layerStyle();
    flat.borderWidth = 0;
    m_saveAsBtn->setLayerStyle(flat);
    m_saveAsBtn->setFocusPolicy(Qt::NoFocus);
    connect(m_saveAsBtn, &QXButton::clicked, this, &QXTransferAudioView::saveAsBtnClicked);

    m_startTransferBtn = darkButton(this, 10);
    m_startTransferBtn->setObjectName(QStringLiteral("start"));
    connect(m_startTransferBtn, &QXButton::clicked, this, &QXTransferAudioView::startTransferBtnClicked);

    m_listView = box(this);
    m_list = new RowList(m_listView);
    m_list->setRowHeight(kRowHeight);
    m_list->setMinRows(0);
    m_list->setLook({kListColor, kListColor, kGrey});
    // The list's own ground past the last row is the page's dark, too.
    QPalette ground = m_list->palette();
    ground.setColor(QPalette::Window, kListColor);
    ground.setColor(QPalette::Base, kListColor);
    m_list->setPalette(ground);
    m_list->viewport()->setPalette(ground);
    m_list->viewport()->setAutoFillBackground(true);
    if (m_list->widget())
        m_list->widget()->setPalette(ground);
    RowList::Source source;
    source.count = [this] { return int(m_dataArray.size()); };
    source.makeCell = [this](QWidget *row) -> QWidget * {
        return new QXTransferAudioCellView(m_deps.speech, m_deps.revealer, row);
    };
    source.fill = [this](QWidget *cell, int row) {
        auto *view = static_cast<QXTransferAudioCellView *>(cell);
        view->setModel(row < m_dataArray.size() ? std::optional(m_dataArray.at(row)) : std::nullopt);
    };
    m_list->setSource(std::move(source));
}

void QXTransferAudioView::configTitle()
{
    m_browseBtn->setTitle(hrvAppLocalizedString(QStringLiteral("浏览")));
    m_saveAsBtn->setTitle(hrvAppLocalizedString(QStringLiteral("另存为")));
    m_startTransferBtn->setTitle(hrvAppLocalizedString(QStringLiteral("开始转写")));
    m_pathTextField->setPlaceholderText(hrvAppLocalizedString(QStringLiteral("请输入音频路径…")));
    m_defaultPathLabel->setText(QStringLiteral("%1%2,").arg(hrvAppLocalizedString(QStringLiteral("默认存储路径为")),
                                                            hrvAppLocalizedString(QStringLiteral("Document"))));
    relayout();
    getTransferList();
}

void QXTransferAudioView::relayout()
{
    const int w = width();
    // A translated caption longer than the Chinese one widens its button.
    const int browseWidth = std::max(kBrowseWidth, m_browseBtn->widthShowingWhole(m_browseBtn->title(), kTitlePadding));
    const int startWidth =
        std::max(kStartWidth, m_startTransferBtn->widthShowingWhole(m_startTransferBtn->title(), kTitlePadding));
    const int browseX = w - kSide - browseWidth;
    const int boxWidth = std::max(0, browseX - 15 - kSide);
    m_pathView->setGeometry(kSide, kSide, boxWidth, kBoxHeight);
    m_pathTextField->setGeometry(10, 2, std::max(0, boxWidth - 20), kBoxHeight - 4);
    m_browseBtn->setGeometry(browseX, kSide, browseWidth, kBoxHeight);
    const int labelTop = kSide + kBoxHeight + 8;
    const int saveWidth = m_saveAsBtn->fontMetrics().horizontalAdvance(m_saveAsBtn->title()) + 10;
    const int startX = kSide + boxWidth - startWidth;
    // A folder line too long to leave the save-as button clear of the start button is
    // drawn a little smaller (the label fits its text to its width).
    const int labelWidth = std::min(m_defaultPathLabel->fontMetrics().horizontalAdvance(m_defaultPathLabel->text()) + 4,
                                    std::max(0, startX - kStartGap - saveWidth - kSide));
    m_defaultPathLabel->setGeometry(kSide, labelTop, labelWidth, 15);
    m_saveAsBtn->setGeometry(kSide + labelWidth, labelTop - 2, saveWidth, 19);
    m_startTransferBtn->setGeometry(startX, labelTop - 3, startWidth, 20);
    const int listTop = labelTop + 15 + 15;
    m_listView->setGeometry(kSide, listTop, std::max(0, browseX + browseWidth - kSide),
                            std::max(0, height() - listTop - 20));
    m_list->setGeometry(m_listView->rect().adjusted(1, 8, -1, -8));
}

void QXTransferAudioView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    relayout();
}

QXTransferAudioCellView *QXTransferAudioView::cell(int row) const
{
    return qobject_cast<QXTransferAudioCellView *>(m_list->cell(row));
}

void QXTransferAudioView::getTransferList()
{
    m_dataArray.clear();
    if (m_deps.table) {
        const QList<QXTransferAudioModel> rows =
            m_deps.table->selectAllDataBaseWithtableName<QXTransferAudioModel>(QString::fromLatin1(kTableName));
        for (const QXTransferAudioModel &row : rows) {
            const bool fileThere = row.path && !row.path->isEmpty() && QFileInfo::exists(*row.path);
            const bool running = row.status == 0 && m_current && row.idStr == m_current->idStr;
            if (fileThere || running)
                m_dataArray.append(row);
        }
    }
    m_list->reload();
}

void QXTransferAudioView::showError(const QString &message)
{
    if (m_deps.errors)
        m_deps.errors->showErrorMsg(hrvAppLocalizedString(message), QString());
}

void QXTransferAudioView::browseBtnClicked()
{
    if (!m_deps.files)
        return;
    FilePicker::Request request;
    request.mode = FilePicker::Mode::ExistingFile;
    request.prompt = hrvAppLocalizedString(QStringLiteral("打开"));
    request.nameFilters = {QStringLiteral("*.wav *.mp3")};
    m_deps.files->pick(request, [self = QPointer<QXTransferAudioView>(this)](const std::optional<QString> &path) {
        if (self && path)
            self->m_pathTextField->setText(*path);
    });
}

void QXTransferAudioView::saveAsBtnClicked()
{
    const QString audio = m_pathTextField->text();
    if (audio.isEmpty())
        return showError(QStringLiteral("请输入音频路径…"));
    if (!m_deps.files)
        return;
    FilePicker::Request request;
    request.mode = FilePicker::Mode::SaveFile;
    request.suggestedName = audio.section(QLatin1Char('/'), -1);
    m_deps.files->pick(request, [self = QPointer<QXTransferAudioView>(this)](const std::optional<QString> &path) {
        if (self && path)
            self->m_outputPath = *path;
    });
}

void QXTransferAudioView::startTransferBtnClicked()
{
    const QString audio = m_pathTextField->text();
    if (audio.isEmpty())
        return showError(QStringLiteral("请输入音频路径…"));
    if (m_current)
        return showError(QStringLiteral("正在转写,请稍后..."));
    if (!m_outputPath.isEmpty())
        return;
    DataPaths::ensureDir(folder());
    m_outputPath = QDir(folder()).filePath(baseName(audio) + QStringLiteral(".wav"));
}

QString QXTransferAudioView::transcriptPath(const QString &folder, const QString &outputPath)
{
    const QString base = baseName(outputPath);
    const QDir dir(folder);
    QString path = dir.filePath(base + QStringLiteral(".txt"));
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1_%2.txt").arg(base).arg(n));
    return path;
}

// Jobs are keyed by their start second; one started in the same second as a stored one
// takes the next free second, so an update never reaches another job's row.
QString QXTransferAudioView::freeIdStr(QString idStr) const
{
    if (!m_deps.table)
        return idStr;
    QSet<QString> taken;
    for (const QXTransferAudioModel &row :
         m_deps.table->selectAllDataBaseWithtableName<QXTransferAudioModel>(QString::fromLatin1(kTableName)))
        if (row.idStr)
            taken.insert(*row.idStr);
    while (taken.contains(idStr))
        idStr = QString::number(idStr.toLongLong() + 1);
    return idStr;
}

void QXTransferAudioView::startTransferAudio()
{
    DataPaths::ensureDir(folder());
    const QDateTime now = m_deps.clock ? m_deps.clock->now() : QDateTime::currentDateTime();
    QXTransferAudioModel job;
    job.idStr = freeIdStr(QString::number(now.toSecsSinceEpoch()));
    job.path = transcriptPath(folder(), m_outputPath);
    job.updateTime = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    job.status = 0;
    m_current = job;
    if (m_deps.table)
        m_deps.table->insertDataBaseWithtableName(
            QString::fromLatin1(kTableName), job,
            [self = QPointer<QXTransferAudioView>(this)](bool success, const QString &error) {
                if (!self)
                    return;
                if (!success)
                    qxWarning("transfer") << "the job could not be stored:" << error;
                self->getTransferList();
                self->m_list->scrollToRow(int(self->m_dataArray.size()) - 1);
            });
    if (m_deps.state)
        m_deps.state->setRecordStatus(2);
    if (!m_deps.speech)
        return;
    m_deps.speech->addStatusListener(this);
    // The file first: starting the recognition takes the queued chunks.
    if (m_deps.transferAudio)
        m_deps.transferAudio(m_outputPath, job);
    m_deps.speech->beginAsrIsTransferAudio(true, [](bool, const QString &, bool) {});
}

void QXTransferAudioView::speechManagerRecognitionStatusChangeEndAsr(const QString &text, bool success,
                                                                     const QXTransferAudioModel *job)
{
    // Only the running job's own end: a live recognition's text never goes into a
    // transcript, and an end with no job running leaves the user's choices alone.
    if (!m_current || !job || job->idStr != m_current->idStr)
        return;
    QXTransferAudioModel ended = *m_current;
    QSaveFile file(ended.path.value_or(QString()));
    const QByteArray content = QStringLiteral("识别结果\n%1").arg(text).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        qxWarning("transfer") << "the transcript could not be written to" << file.fileName() << ":"
                              << file.errorString();
    ended.result = text;
    ended.status = success ? 1 : 2;
    const auto finished = [self = QPointer<QXTransferAudioView>(this)](bool ok, const QString &error) {
        if (!self)
            return;
        if (!ok)
            qxWarning("transfer") << "the job could not be updated:" << error;
        self->m_current.reset();
        self->getTransferList();
    };
    if (m_deps.table)
        m_deps.table->updataTableWithtableName(QString::fromLatin1(kTableName), QStringLiteral("idStr"), ended,
                                               finished);
    else
        finished(true, {});
    m_outputPath.clear();
    m_pathTextField->clear();
    if (m_deps.state)
        m_deps.state->setRecordStatus(0);
}
