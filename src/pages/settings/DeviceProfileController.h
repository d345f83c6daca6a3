#pragma once

#include "MouseModelSettingModel.h"
#include "PageContext.h"
#include "services/IImageLoader.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonValue>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The connected product's profile from the maker's server: fetched for the product
// code and serial number, cached in the preferences under "<productCode>_<sn>", and
// applied to the application state, the language lists and the device page's key
// sections. Main thread only.
//
// Only a JSON object is cached. A cached text that is not one is removed and the
// server asked again, so a bad entry cannot block every later fetch.
class DeviceProfileController final : public QObject {
    Q_OBJECT
public:
    // configUI rebuilds the device page's rows from the new state (empty: no page).
    explicit DeviceProfileController(const PageContext &context, std::function<void()> configUI = {},
                                     QObject *parent = nullptr);
    ~DeviceProfileController() override;

    // Loads the profile of the connected product from the cache, else from the server,
    // and applies it. Products without AI pages have no profile.
    void getCustomerKey();
    // Applies a profile: the reply or the cached value, of the product the code and
    // serial number name. A value that is not an object falls back to the last
    // profile received when it belongs to the same product, else to an empty one.
    void handleModelInfo(const QJsonValue &infoData, const QString &productCode, const QString &sn);
    // Picks the picture of the interface language and fetches it.
    void showProductImage();

    const QJsonArray &imagesArr() const { return m_imagesArr; }
    const MouseModelSettingModel &mouseModelSettingModel() const { return m_model; }
    const QList<MouseSettingModel> &mouseSettingArr() const { return m_mouseSettingArr; }
    // What the product picture view shows (null: nothing).
    const QImage &productImage() const { return m_productImage; }

    static QString cacheKey(const QString &productCode, const QString &sn);
    // "<productCode>_<sno>.png" with every character outside [A-Za-z0-9._-]
    // percent-encoded, so server text cannot leave the data root.
    static QString productImageFileName(const QString &productCode, const QString &sno);
    // The picture's file under the data root for the state's product code and sno.
    QString productImagePath() const;

signals:
    void productImageChanged();

private:
    QJsonObject pickProfile(const QJsonValue &infoData, const QString &productCode, const QString &sn);
    void applyLanguages(const QJsonObject &profile);
    QString applyFunctions(const QJsonObject &profile);
    void applyKeys(const QJsonObject &profile);
    void setProductImage(const QImage &image);

    PageContext m_context;
    std::function<void()> m_configUI;
    QJsonArray m_imagesArr;
    MouseModelSettingModel m_model;
    QList<MouseSettingModel> m_mouseSettingArr;
    QImage m_productImage;
    quint64 m_imageLoads = 0;                        // only the latest load is shown
    std::unique_ptr<IImageLoader::Load> m_imageLoad; // dropped with the controller: abandoned
};
