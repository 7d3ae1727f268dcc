#include "ui/widget_table.h"

#include <vector>

#include "ui/base_view.h"
#include "ui/button_resource.h"
#include "ui/checkbox_resource.h"
#include "ui/edit_resource.h"
#include "ui/layout_resource.h"
#include "ui/movie_resource.h"
#include "ui/progress_resource.h"
#include "ui/resource_mgr.h"
#include "ui/spacer_resource.h"
#include "ui/text_resource.h"

namespace {
Gdiplus::Image* ImageOf(IBaseView& view, const wchar_t* name) {
  return name && view.Resources() ? view.Resources()->GetImage(name) : nullptr;
}

IBaseResource* MakeWidget(IBaseView& view, const WidgetRow& row, const BannerRequest* banner) {
  const wchar_t* text = row.text ? row.text : L"";
  CImageResource* drawable = nullptr;
  switch (row.kind) {
    case kKindLayout: {
      auto* layout = new CLayoutResource(row.orientation, row.id);
      for (int i = 0; i < 4; ++i) layout->padding[i] = row.padding[i];
      layout->spacing = row.spacing;
      return layout;
    }
    case kKindSpacer: return new CSpacerResource(row.id);
    case kKindButton: {
      auto* button = new CButtonResource(row.id, text, row.style);
      for (int i = 0; i < 4; ++i) button->icons[i] = ImageOf(view, row.images[i]);
      drawable = button;
      break;
    }
    case kKindCheckbox:
      drawable =
          new CCheckboxResource(row.id, row.style, text, ImageOf(view, row.images[0]), ImageOf(view, row.images[1]));
      break;
    case kKindText: drawable = new CTextResource(row.id, row.style, text); break;
    case kKindProgress: drawable = new CProgressResource(row.style); break;
    case kKindEdit: drawable = new CEditResource(view.Window(), row.style); break;
    case kKindMovie: {
      const BannerRequest none;
      const BannerRequest& source = banner ? *banner : none;
      drawable = new CMovieResource(view.Window(), source.host, source.port, source.path, ImageOf(view, row.images[0]),
                                    row.id, row.style);
      break;
    }
    default: drawable = new CImageResource(row.id, row.style, row.kind); break;
  }
  if (row.kind == kKindBackground || row.kind == kKindImage) drawable->SetImage(ImageOf(view, row.images[0]));
  drawable->aspectRatio = row.aspectRatio;
  drawable->marginX = row.margins[0];
  drawable->marginY = row.margins[1];
  return drawable;
}
}  // namespace

IBaseResource* BuildWidgets(IBaseView& view, const WidgetRow* rows, int count, const BannerRequest* banner) {
  std::vector<IBaseResource*> made;
  for (int i = 0; i < count; ++i) {
    const WidgetRow& row = rows[i];
    IBaseResource* widget = MakeWidget(view, row, banner);
    widget->visible = !row.hidden;
    view.AddWidget(widget);
    made.push_back(widget);
    if (row.parent < 0 || row.parent >= i || made[row.parent]->kind != kKindLayout) continue;
    auto* layout = static_cast<CLayoutResource*>(made[row.parent]);
    if (row.weight == 0)
      layout->background = widget;
    else
      AddChild(layout, widget, row.weight);
  }
  return made.empty() ? nullptr : made.front();
}
