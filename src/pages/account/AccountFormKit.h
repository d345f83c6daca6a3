#pragma once

#include "QXNetError.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <utility>

class QWidget;
class QColor;
class QFont;
class QXButton;
class QXLabel;
class QXNetBaseScene;
struct PageContext;

// What the account forms share: their buttons' looks, the check box pictures, the
// alert of a failed request and the way a request is sent.
namespace accountform {

// The localised text of a key.
QString loc(const char *key);

// The personal centre's dark pages: a button with a plain fill, a label of one font
// and colour, and the 1-pixel grey line under a field.
QXButton *makeFillButton(QWidget *parent, qreal fontPx, const QColor &fill, qreal radius);
QXLabel *makeLabel(QWidget *parent, const QFont &font, const QColor &color);
QWidget *makeUnderline(QWidget *parent);
inline const QColor kFieldGrey{112, 112, 112};
inline const QColor kWhite80{255, 255, 255, 204};

// "< 返回" at (25, 20, 60 x 40), accent title, 12 px.
QXButton *makeBackButton(QWidget *parent);
// 85 x 31, radius 4, 14 px title: accent fill with a white title, or (outlined) a
// white fill with a 1 px accent border and a dark title.
QXButton *makeActionButton(QWidget *parent, bool outlined = false);
// Centres an action button on `centreX`, widened until its title fits at its own size
// (a longer translation) up to `maxWidth`; never narrower than it is built.
void fitActionButton(QXButton *button, int centreX, int maxWidth);
// The 16 x 16 check box; its picture follows its state (setCheckBoxImage).
QXButton *makeCheckBox(QWidget *parent);
void setCheckBoxImage(QXButton *box);

// The detail of a failed request: the error's message (the server's message, the
// client's own text, or "请检查网络" for an unreachable network); "" when it has none.
inline QString failureText(const QXNetError &error)
{
    return error.message;
}

void sendScene(const PageContext &context, std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback);

// Sends the scene through the page's API. The reply reaches `handle` only while
// `form` lives: a form removed while its request ran never hears of it.
template <typename Form, typename Handle>
void send(const PageContext &context, Form *form, std::shared_ptr<QXNetBaseScene> scene, Handle handle)
{
    sendScene(context, std::move(scene),
              [guard = QPointer<Form>(form), handle = std::move(handle)](bool ok, const QJsonValue &data,
                                                                         const QXNetError &error) {
                  if (guard)
                      handle(guard.data(), ok, data, error);
              });
}

} // namespace accountform
