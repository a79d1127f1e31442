#pragma once

#include <QObject>
#include <QtGlobal>
#include <array>

class QLabel;
class QWidget;

namespace brimble {

// The column of memo colours beside the editor: ten swatches and, below them, a rainbow
// strip that asks for any colour.
class SwatchStrip : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 10;
    // 0x00BBGGRR, from the top.
    static constexpr std::array<quint32, kCount> kColors = {
        0x00CACFFF, 0x00FFCAD9, 0x00FFF5CA, 0x00CAFFE9, 0x00D8FFCA,
        0x00CAFEFF, 0x00CAE6FF, 0x00FFD9CA, 0x00D6D6D6, 0x00FFFFFF};
    static constexpr int kSwatchHeight = 25;

    explicit SwatchStrip(QWidget* host);
    ~SwatchStrip() override;

    // S1, s2 ... s10 for 0 ... 9.
    QWidget* swatch(int i) const { return swatches_[size_t(i)]; }
    QLabel* Image1() const { return image1_; }

signals:
    // Any mouse button pressed on swatch `index` (0 for S1).
    void swatchPressed(int index);
    // A click (press and release) on the rainbow strip.
    void customClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QWidget*, kCount> swatches_{};
    QLabel* image1_ = nullptr;
    bool imagePressed_ = false;
};

} // namespace brimble
