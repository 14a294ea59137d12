// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "platform/raster.h"

#include <QWidget>

namespace tarvok::mimic {

// A picture of a fixed size that is drawn into and then repainted; it shows
// exactly the pixels of its raster.
class MimicPicture : public QWidget {
    Q_OBJECT
public:
    MimicPicture(const QString& name, int width, int height, QWidget* parent);
    MimicPicture(const QString& name, const QImage& picture, QWidget* parent);

    platform::Raster& raster() { return m_raster; }
    const platform::Raster& raster() const { return m_raster; }
    const QImage& image() const { return m_raster.image(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    platform::Raster m_raster;
};

} // namespace tarvok::mimic
