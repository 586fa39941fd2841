// GDI+ implementation of IPen.
#pragma once

#include "ui/render/gdiplus_handles.h"
#include "ui/render/pen.h"

namespace ui {

class Pen_GdiPlus : public IPen {
 public:
  // A pen of the colour and width (in world units).
  Pen_GdiPlus(DWORD color, int width);
  ~Pen_GdiPlus() override = default;

  IPen* Clone() override;
  void SetWidth(int width) override;
  int GetWidth() override;
  void SetColor(DWORD color) override;
  void SetStartCap(int cap) override;
  void SetEndCap(int cap) override;
  void SetDashCap(int cap) override;
  int GetStartCap() override;
  int GetEndCap() override;
  int GetDashCap() override;
  void SetLineJoin(int join) override;
  int GetLineJoin() override;
  void SetDashStyle(int style) override;
  int GetDashStyle() override;

  // The wrapped GDI+ pen, for the path and the render context; may be null.
  Gdiplus::GpPen* GetPen() const { return pen_.get(); }
  // The GDI+ pen of any pen of this back end; null for a null pen.
  static Gdiplus::GpPen* GpPenOf(const IPen* pen) {
    return pen ? static_cast<const Pen_GdiPlus*>(pen)->GetPen() : nullptr;
  }

 private:
  Pen_GdiPlus(DWORD color, GpPenPtr pen) : IPen(color), pen_(std::move(pen)) {}
  void Keep(GpStatus status) { KeepFailure(status_, status); }

  GpPenPtr pen_;
  GpStatus status_ = Gdiplus::Ok;
};

}  // namespace ui
