#include "detector/DetectorLayout.h"

namespace kelvane {

void layoutVirusDetect(float W, float H, const DetectorLayoutControls& c) {
  c.TxtReadMe.setWidth(W - 1000);
  c.TxtReadMe.setHeight(H - 3500);
  if (const auto width = c.TxtReadMe.width()) c.TxtReadMe.setLeft((W - *width) / 2);
  if (const auto height = c.TxtReadMe.height()) c.TxtReadMe.setTop((H - *height) / 2 - 1300);
  {
    const auto top = c.TxtReadMe.top();
    const auto height = c.TxtReadMe.height();
    if (top && height) c.OptNormal.setTop(*top + *height + 200);
  }
  if (const auto left = c.TxtReadMe.left()) c.OptNormal.setLeft(*left + 1000);
  if (const auto left = c.OptNormal.left()) c.LbNormal.setLeft(*left + 500);
  if (const auto top = c.OptNormal.top()) c.LbNormal.setTop(*top + 300);
  if (const auto top = c.OptNormal.top()) c.OptDeep.setTop(*top + 800);
  if (const auto left = c.OptNormal.left()) c.OptDeep.setLeft(*left);
  if (const auto left = c.OptDeep.left()) c.LbDeep.setLeft(*left + 500);
  if (const auto top = c.OptDeep.top()) c.LbDeep.setTop(*top + 300);
  if (const auto width = c.cmdBegin.width()) c.cmdBegin.setLeft(W / 2 - *width / 2 - 1500);
  c.cmdBegin.setTop(H - 1000);
  if (const auto width = c.cmdStop.width()) c.cmdStop.setLeft(W / 2 - *width / 2 + 1500);
  c.cmdStop.setTop(H - 1000);
  c.lbMsg.setWidth(W);
  c.lbMsg.setTop(H - 300);
}

}  // namespace kelvane
