#include "ui/render/matrix_gdiplus.h"

namespace ui {

Matrix_Gdiplus::Matrix_Gdiplus() {
  Gdiplus::GpMatrix* matrix = nullptr;
  Keep(gp::GdipCreateMatrix(&matrix));
  matrix_.reset(matrix);
}

void Matrix_Gdiplus::Translate(int dx, int dy) {
  Keep(gp::GdipTranslateMatrix(matrix_.get(), static_cast<Gdiplus::REAL>(dx),
                               static_cast<Gdiplus::REAL>(dy), Gdiplus::MatrixOrderPrepend));
}

void Matrix_Gdiplus::Scale(int sx, int sy) {
  Keep(gp::GdipScaleMatrix(matrix_.get(), static_cast<Gdiplus::REAL>(sx),
                           static_cast<Gdiplus::REAL>(sy), Gdiplus::MatrixOrderPrepend));
}

void Matrix_Gdiplus::Rotate(float angle) {
  Keep(gp::GdipRotateMatrix(matrix_.get(), angle, Gdiplus::MatrixOrderPrepend));
}

void Matrix_Gdiplus::RotateAt(float angle, const POINT& center) {
  Translate(center.x, center.y);
  Rotate(angle);
  Translate(-center.x, -center.y);
}

}  // namespace ui
