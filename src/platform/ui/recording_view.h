#pragma once
// RecordingView: an image control that shows a recording (the composed page) stretched to the
// control's size, drawn afresh at every size, so that zooming never blurs the outlines.

#include <QWidget>
#include <memory>

#include "platform/recording.h"

namespace pb {

class RecordingView : public QWidget {
    Q_OBJECT
  public:
    explicit RecordingView(QWidget* parent = nullptr);

    const Recording* picture() const { return picture_.get(); }
    std::shared_ptr<const Recording> sharedPicture() const { return picture_; }
    void setPicture(std::shared_ptr<const Recording> picture);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::shared_ptr<const Recording> picture_;
};

}  // namespace pb
