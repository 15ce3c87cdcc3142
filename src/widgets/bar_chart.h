#pragma once
// Observed against expected counts as pairs of bars, one pair per category, with a scale on the
// left and the categories below. The window sets the data; the chart paints it at any size.

#include <QStringList>
#include <QVector>
#include <QWidget>

class BarChart : public QWidget {
    Q_OBJECT

public:
    explicit BarChart(QWidget* parent = nullptr);

    struct Data {
        QString title;
        QStringList labels;
        QVector<double> observed, expected;
    };
    // Nothing is drawn but the title (or a note) when the data holds no category.
    void setData(Data data);
    const Data& data() const { return data_; }

    // The bar pair a point falls in, or -1.
    int categoryAt(const QPoint& pos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static const QString kObservedLegend; // "実測"
    static const QString kExpectedLegend; // "期待値"

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Geometry {
        QRect plot; // the area of the bars
        double top = 0; // the value at the top of the plot
    };
    Geometry geometry() const;

    Data data_;
};
