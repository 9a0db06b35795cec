#include "skin/ximage.h"

#include <typeinfo>

tximage* FindImageControl(const QWidget* Parent) {
    if (Parent == nullptr)
        return nullptr;
    for (QObject* child : Parent->children())
        if (child != nullptr && typeid(*child) == typeid(tximage))
            return static_cast<tximage*>(child);
    return nullptr;
}
