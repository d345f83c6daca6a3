#pragma once

#include "MouseSettingModel.h"

// One product's key configuration as the server's device profile describes it.
class MouseModelSettingModel {
public:
    // Decodes the profile object; members it does not know are not kept.
    static MouseModelSettingModel fromJson(const QJsonObject &object);
    QJsonObject toJson() const;

    QX_KEY_MODEL_TEXT(modelId, setModelId, "id")
    QX_KEY_MODEL_TEXT(productId, setProductId, "productId")
    QX_KEY_MODEL_TEXT(productModelId, setProductModelId, "productModelId")
    QX_KEY_MODEL_TEXT(type, setType, "type")
    QX_KEY_MODEL_TEXT(name, setName, "name")
    QX_KEY_MODEL_TEXT(memberId, setMemberId, "memberId")
    QX_KEY_MODEL_TEXT(sno, setSno, "sno")
    QX_KEY_MODEL_TEXT(first, setFirst, "first")

    const QList<MouseSettingModel> &keyInfos() const { return m_keyInfos; }
    QList<MouseSettingModel> &keyInfos() { return m_keyInfos; }
    void setKeyInfos(const QList<MouseSettingModel> &keyInfos) { m_keyInfos = keyInfos; }

    bool operator==(const MouseModelSettingModel &) const = default;

private:
    KeyModelFields m_fields;
    QList<MouseSettingModel> m_keyInfos;
};
