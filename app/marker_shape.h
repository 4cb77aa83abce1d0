// A marker on the map: the remote point's red square or the home station's green disc.
#pragma once

#include <QWidget>

namespace orvela::app {

class MarkerShape : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Square, Circle };
    explicit MarkerShape(QWidget* parent = nullptr);
    void SetKind(Kind k);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_ = Kind::Square;
};

} // namespace orvela::app
