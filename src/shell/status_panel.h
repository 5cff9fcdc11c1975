#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QString>
#include <QWidget>
#include <array>

namespace rek {

// The status bar's three parts (right edges at 100, 600 and 800 pixels): the vertex count,
// the tool hint and the canvas size, with the replay progress bar over the first part.
// A count too long for its part widens it at the hint's expense; a hint too long for what is
// left shows whole as the part's tooltip.
class StatusPanel : public QWidget {
    Q_OBJECT
  public:
    explicit StatusPanel(QWidget* parent = nullptr);

    enum Part { VertexCount = 0, Hint = 1, Size = 2 };
    // Writes the text only when it differs from what the part shows.
    void setPartText(Part part, const QString& text);
    QString partText(Part part) const;

    void showProgress(int maximum);
    void setProgress(int value);
    void hideProgress();
    bool progressVisible() const;
    const QProgressBar& progressBar() const { return *progress_; }

  private:
    void fitCountPart();

    std::array<QLabel*, 3> parts_{};
    QProgressBar* progress_ = nullptr;
};

}  // namespace rek
