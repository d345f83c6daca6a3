#include "LayoutCheck.h"

#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "views/LayerMark.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>

#include <optional>

namespace {

// The ink of a glyph is measured in whole pixels; a text running past its box by up to
// two of them shows no cut.
constexpr qreal kSlack = 2.0;

bool isControl(const QWidget *w)
{
    return qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w)
           || qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSlider *>(w)
           || qobject_cast<const QProgressBar *>(w) || qobject_cast<const QComboBox *>(w)
           || qobject_cast<const QAbstractSpinBox *>(w);
}

QString shownText(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
        // "&&" is an ampersand; any other "&" marks the mnemonic and is not drawn.
        QString text = button->text();
        text.replace(QLatin1String("&&"), QStringLiteral("\x01"));
        text.remove(u'&');
        return text.replace(u'\x01', u'&');
    }
    return {};
}

// Where a control or window stands against what should hold it, for a finding.
QString placedIn(const QRect &r, const QSize &outer, const char *what)
{
    return QStringLiteral("at %1,%2 %3 x %4 in a %5 x %6 %7")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(outer.width())
        .arg(outer.height())
        .arg(QLatin1String(what));
}

QString describe(const QWidget *w)
{
    QString text = shownText(w).replace(u'\n', QLatin1String("\\n"));
    if (text.size() > 40)
        text = text.left(39) + u'…';
    QString name = QString::fromLatin1(w->metaObject()->className());
    if (!w->objectName().isEmpty())
        name += u'#' + w->objectName();
    return text.isEmpty() ? name : name + QStringLiteral(" \"") + text + u'"';
}

// The part of the widget a viewer can see: clipped by every scrolled viewport above
// it (a row scrolled out of sight is not on screen). Window coordinates.
QRect visiblePart(const QWidget *w, const QWidget *window)
{
    QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(p->parentWidget())
            && p == static_cast<const QAbstractScrollArea *>(p->parentWidget())->viewport())
            r &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    return r;
}

// A scrolled area that never scrolls sideways: a control standing past its viewport's
// left or right edge cannot be reached, whichever row is scrolled to. The viewport's
// span in window coordinates, or none.
std::optional<QRect> sidewaysCut(const QWidget *w, const QWidget *window)
{
    const QRect mine(w->mapTo(window, QPoint(0, 0)), w->size());
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        const auto *area = qobject_cast<const QAbstractScrollArea *>(p->parentWidget());
        if (!area || p != area->viewport() || area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
            continue;
        const QRect port(p->mapTo(window, QPoint(0, 0)), p->size());
        if (mine.left() < port.left() || mine.right() > port.right())
            return port;
    }
    return std::nullopt;
}

bool insideScrolledArea(const QWidget *w, const QWidget *window)
{
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(p))
            return true;
    return false;
}

// Where the control draws its text: the rectangle the text is aligned in, how, and the
// rectangle that clips it (the control's own, as the kit's labels draw past their padding).
struct TextBox {
    QRectF rect;
    Qt::Alignment align = Qt::AlignHCenter;
    QRectF clip;
    bool wraps = false;
};

TextBox textBox(const QWidget *w)
{
    const QRectF whole(w->rect());
    if (const auto *label = qobject_cast<const QXLabel *>(w))
        return {label->textRect(), label->alignment(), whole, label->wordWrap()};
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        const int inset = label->margin() + qMax(0, label->indent());
        const QRectF contents(label->contentsRect());
        return {contents.adjusted(inset, label->margin(), -inset, -label->margin()), label->alignment(), contents,
                label->wordWrap()};
    }
    if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w)) {
        const QStyle *s = w->style();
        const int indicator = qobject_cast<const QCheckBox *>(w)
                                  ? s->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w)
                                        + s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w)
                                  : s->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w)
                                        + s->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
        return {whole.adjusted(indicator, 0, 0, 0), Qt::AlignLeft, whole};
    }
    QRectF r = whole;
    if (const auto *button = qobject_cast<const QAbstractButton *>(w); button && !button->icon().isNull())
        r.setLeft(r.left() + button->iconSize().width() + 4);
    // A standard push button keeps a margin on each side.
    if (qobject_cast<const QPushButton *>(w))
        r.adjust(4, 0, -4, 0);
    return {r, Qt::AlignHCenter, r};
}

// Where a line `advance` wide starts, aligned in the box.
qreal lineLeft(const TextBox &box, qreal advance)
{
    if (box.align & Qt::AlignRight)
        return box.rect.right() - advance;
    if (box.align & Qt::AlignHCenter)
        return box.rect.center().x() - advance / 2;
    return box.rect.left();
}

// How far the ink of a line, aligned in the box, runs past the clip (0: it fits).
qreal overrun(const QFontMetricsF &metrics, const QString &line, const TextBox &box)
{
    const QRectF ink = metrics.boundingRect(line).translated(lineLeft(box, metrics.horizontalAdvance(line)), 0);
    return qMax(qreal(0), qMax(box.clip.left() - ink.left(), ink.right() - box.clip.right()));
}

// The top of a text `height` high placed in the box: a kit label has centred its box
// on its text already; other controls place it by their alignment.
qreal textTop(const QWidget *w, const TextBox &box, qreal height)
{
    const Qt::Alignment align =
        qobject_cast<const QLabel *>(w) ? static_cast<const QLabel *>(w)->alignment() : Qt::Alignment(Qt::AlignVCenter);
    if (qobject_cast<const QXLabel *>(w) || (align & Qt::AlignTop))
        return box.rect.top();
    if (align & Qt::AlignBottom)
        return box.rect.bottom() - height;
    return box.rect.center().y() - height / 2;
}

// Where the text's ink lies in the control, as far as the control shows it (control
// coordinates); empty for a control without text.
QRectF textInk(const QWidget *w)
{
    const QString text = shownText(w);
    if (text.trimmed().isEmpty())
        return {};
    const QRectF whole(w->rect());
    if (const auto *button = qobject_cast<const QXButton *>(w)) {
        // Centred together with the picture, which stands before it.
        const QFontMetricsF metrics(button->drawnTitleFont());
        const qreal advance = qMin(metrics.horizontalAdvance(text), button->titleRoom());
        const qreal before = button->width() - button->titleRoom();
        return QRectF(before + (button->titleRoom() - advance) / 2, (button->height() - metrics.height()) / 2, advance,
                      metrics.height())
               & whole;
    }
    const TextBox box = textBox(w);
    const auto *kitLabel = qobject_cast<const QXLabel *>(w);
    const QFontMetricsF metrics(kitLabel ? kitLabel->drawnFont() : w->font());
    if (box.wraps) {
        const QRectF needed =
            metrics.boundingRect(QRectF(0, 0, box.rect.width(), 1e6), Qt::TextWordWrap | Qt::AlignLeft, text);
        return QRectF(box.rect.left(), textTop(w, box, needed.height()), needed.width(), needed.height()) & box.clip;
    }
    const QStringList lines = text.split(u'\n');
    const qreal height = lines.size() * metrics.lineSpacing() - metrics.leading();
    const qreal top = textTop(w, box, height);
    QRectF ink;
    for (const QString &line : lines) {
        const qreal advance = metrics.horizontalAdvance(line);
        ink |= QRectF(lineLeft(box, advance), top, advance, height);
    }
    return ink & box.clip;
}

void checkText(const QWidget *w, QList<LayoutFinding> &out)
{
    if (qobject_cast<const QXPopUpButton *>(w))
        return; // its caption is its title label, checked as a label
    const QString text = shownText(w);
    if (text.trimmed().isEmpty())
        return;
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        const bool rich =
            label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
        if (rich || !label->pixmap().isNull())
            return;
    }
    if (const auto *button = qobject_cast<const QXButton *>(w)) {
        // Centred with its picture; drawn smaller when long, cut with "…" past the
        // smallest size at any overrun.
        const qreal over = QFontMetricsF(button->drawnTitleFont()).horizontalAdvance(text) - button->titleRoom();
        if (over > 0)
            out.append({QStringLiteral("clipped"), describe(w),
                        QStringLiteral("title %1 too wide for its %2 of room even at the smallest size")
                            .arg(over, 0, 'f', 1)
                            .arg(button->titleRoom(), 0, 'f', 1)});
        return;
    }
    const auto *kitLabel = qobject_cast<const QXLabel *>(w);
    if (kitLabel && kitLabel->drawsCut()) {
        // Cut on purpose, with the whole text in the tool tip: fine for a name the
        // exceptions name, never for an instruction.
        const bool elided = kitLabel->elideMode() != Qt::ElideNone && w->toolTip() == text;
        out.append({elided ? QStringLiteral("elided") : QStringLiteral("clipped"), describe(w),
                    QStringLiteral("drawn cut with \"…\" in a %1 wide label").arg(w->width())});
        return;
    }
    const TextBox box = textBox(w);
    const QFontMetricsF metrics(kitLabel ? kitLabel->drawnFont() : w->font());
    if (box.wraps) {
        const QRectF needed =
            metrics.boundingRect(QRectF(0, 0, box.rect.width(), 1e6), Qt::TextWordWrap | Qt::AlignLeft, text);
        if (needed.width() > box.rect.width() + kSlack || needed.height() > box.clip.height() + 2)
            out.append({QStringLiteral("clipped"), describe(w),
                        QStringLiteral("wrapped text needs %1 x %2, box %3 x %4")
                            .arg(needed.width(), 0, 'f', 1)
                            .arg(needed.height(), 0, 'f', 1)
                            .arg(box.rect.width(), 0, 'f', 1)
                            .arg(box.clip.height(), 0, 'f', 1)});
        return;
    }
    const QStringList lines = text.split(u'\n');
    qreal worst = 0;
    for (const QString &line : lines)
        worst = qMax(worst, overrun(metrics, line, box));
    if (worst > kSlack)
        out.append(
            {QStringLiteral("clipped"), describe(w),
             QStringLiteral("text runs %1 past a %2 wide box").arg(worst, 0, 'f', 1).arg(box.clip.width(), 0, 'f', 1)});
    if (lines.size() > 1 && lines.size() * metrics.lineSpacing() > box.clip.height() + metrics.leading() + 2)
        out.append({QStringLiteral("clipped"), describe(w),
                    QStringLiteral("%1 lines need %2, box %3 high")
                        .arg(lines.size())
                        .arg(lines.size() * metrics.lineSpacing(), 0, 'f', 1)
                        .arg(box.clip.height(), 0, 'f', 1)});
}

bool shown(const QWidget *w, const QWidget *window)
{
    return w->isVisibleTo(window) && w->width() > 0 && w->height() > 0 && !w->isWindow();
}

void checkSiblings(const QWidget *parent, const QWidget *window, QList<LayoutFinding> &out)
{
    QList<const QWidget *> controls;
    for (const QObject *child : parent->children()) {
        const auto *w = qobject_cast<const QWidget *>(child);
        if (w && shown(w, window) && isControl(w) && !qxIsLayer(w))
            controls.append(w);
    }
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QRect both = controls[i]->geometry() & controls[j]->geometry();
            if (both.width() > 0 && both.height() > 0)
                out.append({QStringLiteral("overlap"),
                            describe(controls[i]) + QStringLiteral(" / ") + describe(controls[j]),
                            QStringLiteral("%1 x %2 shared").arg(both.width()).arg(both.height())});
        }
}

// What a widget paints, with its children, on a transparent ground: where it hides
// what lies under it. Each widget is drawn once per window.
class Paintings {
public:
    const QImage &of(const QWidget *w)
    {
        auto it = m_images.find(w);
        if (it != m_images.end())
            return *it;
        const qreal ratio = w->devicePixelRatioF();
        QImage image(w->size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        const_cast<QWidget *>(w)->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return *m_images.insert(w, image);
    }

private:
    QHash<const QWidget *, QImage> m_images;
};

// Whether anything of the picture shows in the area (the picture's widget's coordinates).
bool paintsIn(const QImage &painted, const QRectF &area)
{
    const qreal ratio = painted.devicePixelRatio();
    const QRect pixels = QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect() & painted.rect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(painted.constScanLine(y));
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (qAlpha(line[x]) > 0)
                return true;
    }
    return false;
}

// A widget drawn after the control, over its text: a later sibling of the control or
// of any widget holding it, container or not, wherever it paints. Two sibling controls
// on each other are an overlap already.
void checkCovered(const QWidget *w, const QWidget *window, const QRect &seen, Paintings &paintings,
                  QList<LayoutFinding> &out)
{
    const QRectF ink = textInk(w) & QRectF(seen.translated(-w->mapTo(window, QPoint(0, 0))));
    if (ink.isEmpty())
        return;
    for (const QWidget *p = w; p != window && p->parentWidget(); p = p->parentWidget()) {
        const QWidget *parent = p->parentWidget();
        const QRectF inParent = ink.translated(w->mapTo(parent, QPoint(0, 0)));
        const QObjectList &siblings = parent->children();
        for (qsizetype i = siblings.indexOf(const_cast<QWidget *>(p)) + 1; i < siblings.size(); ++i) {
            const auto *s = qobject_cast<const QWidget *>(siblings.at(i));
            if (!s || !shown(s, window) || qxIsLayer(s) || (p == w && isControl(s)))
                continue;
            const QRectF both = inParent & QRectF(s->geometry());
            if (both.isEmpty() || !paintsIn(paintings.of(s), both.translated(-s->pos())))
                continue;
            out.append({QStringLiteral("covered"), describe(w) + QStringLiteral(" / ") + describe(s),
                        QStringLiteral("%1 x %2 of its text under the second, drawn after it ")
                                .arg(both.width(), 0, 'f', 1)
                                .arg(both.height(), 0, 'f', 1)
                            + placedIn(QRect(s->mapTo(window, QPoint(0, 0)), s->size()), window->size(), "window")});
            return;
        }
    }
}

void checkWindow(QWidget *window, QList<LayoutFinding> &out)
{
    Paintings paintings;
    checkSiblings(window, window, out);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!shown(w, window))
            continue;
        checkSiblings(w, window, out);
        if (!isControl(w))
            continue;
        if (const std::optional<QRect> port = sidewaysCut(w, window))
            out.append({QStringLiteral("outside-window"), describe(w),
                        QStringLiteral("x %1 to %2 past the %3 to %4 its scrolled area shows")
                            .arg(w->mapTo(window, QPoint(0, 0)).x())
                            .arg(w->mapTo(window, QPoint(w->width(), 0)).x())
                            .arg(port->left())
                            .arg(port->right() + 1)});
        const QRect seen = visiblePart(w, window);
        if (seen.isEmpty())
            continue; // scrolled out of sight
        checkText(w, out);
        checkCovered(w, window, seen, paintings, out);
        if (!insideScrolledArea(w, window) && !window->rect().contains(seen))
            out.append({QStringLiteral("outside-window"), describe(w), placedIn(seen, window->size(), "window")});
    }
}

} // namespace

QList<LayoutFinding> inspectLayout(QWidget *window)
{
    QList<LayoutFinding> out;
    QList<QWidget *> windows{window};
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != window && w->isVisible())
            windows.append(w);
    for (QWidget *w : windows) {
        // A menu is drawn by the style, item by item; its entries are no widgets.
        if (!qobject_cast<QMenu *>(w))
            checkWindow(w, out);
        const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
        const QRect frame = w->frameGeometry();
        if (screen && !screen->geometry().contains(frame))
            out.append(
                {QStringLiteral("outside-screen"), describe(w), placedIn(frame, screen->geometry().size(), "screen")});
    }
    return out;
}

namespace {
// Findings that are the design, not a fault.
const struct {
    const char *scene; // empty: every scene
    const char *kind;
    const char *widget; // a part of the finding's widget description
    const char *why;
} kExceptions[] = {
    {"smart-hotkey-en", "outside-screen", "QWidget",
     "the scene draws the whole scrolled page at once, taller than a screen, to show every row"},
    {"smart-none-zh", "outside-screen", "QWidget",
     "the scene draws the whole scrolled page at once, taller than a screen, to show every row"},
};
} // namespace

bool isLayoutException(const QString &scene, const LayoutFinding &finding, QString *why)
{
    for (const auto &row : kExceptions) {
        if ((*row.scene && scene != QLatin1String(row.scene)) || (*row.kind && finding.kind != QLatin1String(row.kind))
            || !finding.widget.contains(QString::fromUtf8(row.widget)))
            continue;
        if (why)
            *why = QString::fromUtf8(row.why);
        return true;
    }
    return false;
}

namespace {
// Scenes that draw no interface text, or only texts no language changes.
const struct {
    const char *scene;
    const char *why;
} kFixedTextScenes[] = {
    {"highlight", "a full-screen effect over the fixture desktop: no interface text"},
    {"loupe", "a full-screen effect over the fixture desktop: no interface text"},
    {"pen", "a full-screen effect over the fixture desktop: no interface text"},
    {"snip", "a full-screen effect over the fixture desktop: no interface text"},
    {"spot", "a full-screen effect over the fixture desktop: no interface text"},
    {"kit-buttons", "the kit's board: samples captioned in a language of its own"},
    {"kit-progress", "the kit's board: samples captioned in a language of its own"},
    {"kit-text", "the kit's board: samples captioned in a language of its own"},
    {"popup-text-en", "one language by design, the one its name says"},
    {"search-button", "the search button beside another application's selection: a picture, no text"},
    {"smart-hotkey-en", "one language by design, the one its name says"},
    {"smart-none-zh", "one language by design, the one its name says"},
    {"tip-en", "one language by design, the one its name says"},
    {"translate-card", "the user's text and its translation; the header's language name is named in English "
                       "where the language list has no name in the interface language"},
};
} // namespace

bool isFixedTextScene(const QString &scene, QString *why)
{
    for (const auto &row : kFixedTextScenes) {
        if (scene != QLatin1String(row.scene))
            continue;
        if (why)
            *why = QString::fromUtf8(row.why);
        return true;
    }
    return false;
}
