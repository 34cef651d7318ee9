// A pen, brush, font or bitmap selected into a device context for one
// scope; the previous object goes back when the scope ends.
#pragma once

#include <windows.h>

namespace orva {

class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, previous_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace orva
