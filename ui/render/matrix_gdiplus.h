// GDI+ implementation of IMatrix.
#pragma once

#include "ui/render/gdiplus_handles.h"
#include "ui/render/matrix.h"

namespace ui {

class Matrix_Gdiplus : public IMatrix {
 public:
  // The identity matrix.
  Matrix_Gdiplus();
  ~Matrix_Gdiplus() override = default;

  void Translate(int dx, int dy) override;
  void Scale(int sx, int sy) override;
  void Rotate(float angle) override;
  void RotateAt(float angle, const POINT& center) override;

  Gdiplus::GpMatrix* GetMatrix() const { return matrix_.get(); }

 private:
  void Keep(GpStatus status) { KeepFailure(status_, status); }

  GpMatrixPtr matrix_;
  GpStatus status_ = Gdiplus::Ok;
};

}  // namespace ui
