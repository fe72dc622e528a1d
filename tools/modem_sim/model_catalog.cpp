#include "model_catalog.h"

#include <array>

namespace modem_sim {
namespace {

struct CatalogRow {
    std::string_view code;
    ModelInfo info;
};

constexpr std::array kCatalog{
    CatalogRow{"KD-30", {Family::kd, RangeClass::narrow}},
    CatalogRow{"KD-35", {Family::kd, RangeClass::wide}},
    CatalogRow{"GT-20", {Family::gt_entry, RangeClass::narrow}},
    CatalogRow{"GT-25", {Family::gt_entry, RangeClass::wide}},
    CatalogRow{"GT-40", {Family::gt_period, RangeClass::narrow}},
    CatalogRow{"GT-45", {Family::gt_period, RangeClass::wide}},
    CatalogRow{"GT-60", {Family::gt_period, RangeClass::narrow}},
    CatalogRow{"GT-65", {Family::gt_period, RangeClass::wide}},
    CatalogRow{"GT-80", {Family::gt_period, RangeClass::narrow}},
    CatalogRow{"GT-85", {Family::gt_period, RangeClass::wide}},
    CatalogRow{"GT-90", {Family::gt_period, RangeClass::narrow}},
    // The one code ending in 5 that keeps the narrow ranges.
    CatalogRow{"GT-95", {Family::gt_period, RangeClass::narrow}},
    CatalogRow{"FL-20", {Family::fl, RangeClass::narrow}},
    CatalogRow{"FL-25", {Family::fl, RangeClass::wide}},
};

}  // namespace

ModelInfo lookup_model(std::string_view code) {
    for (const CatalogRow& row : kCatalog) {
        if (row.code == code) {
            return row.info;
        }
    }
    return {Family::unlisted, RangeClass::narrow};
}

bool has_uart_menu(Family family) {
    return family == Family::kd || family == Family::gt_entry;
}

}  // namespace modem_sim
