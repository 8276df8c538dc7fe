#pragma once

#include "output/captiontable.h"

#include <QString>

// The built-in texts of a picture's context menu and of its messages. Each
// window's menu holds its own copy (PictureMenu::Texts); the window's section
// may replace any of them by PictureMenuKeys, and an absent key keeps the
// built-in text.
struct PictureMenuTexts
{
    QString Print = QStringLiteral("Печать…");
    QString SaveImage = QStringLiteral("Сохранить изображение…");
    QString Copy = QStringLiteral("Копировать");
    QString ExportCsv = QStringLiteral("Экспорт данных (CSV)…");
    QString ToolTip = QStringLiteral("Правая кнопка мыши: меню");
    QString PngFilter = QStringLiteral("Изображение PNG (*.png)");
    QString BmpFilter = QStringLiteral("Изображение BMP (*.bmp)");
    // Offered for a chart; the scene is a raster.
    QString SvgFilter = QStringLiteral("Векторное изображение SVG (*.svg)");
    QString CsvFilter = QStringLiteral("Данные CSV (*.csv)");
    // ";" between the fields and the decimal separator the program shows.
    QString SpreadsheetCsvFilter = QStringLiteral("Данные CSV для электронной таблицы (*.csv)");
    // %1 the file, %2 the reason.
    QString WriteFailed = QStringLiteral("Не удалось записать файл %1:\n%2");
    // The reason when the name is a device, a pipe or a folder.
    QString NotRegularFile = QStringLiteral("это не обычный файл");
    // The reason when the picture or the series cannot be put into the file's format.
    QString NotEncoded = QStringLiteral("данные не удалось преобразовать в формат файла");
    // %1 the reason.
    QString PrintFailed = QStringLiteral("Не удалось напечатать: %1");
    // The reasons: the printer cannot begin or finish the document.
    QString PrintNotBegun = QStringLiteral("принтер не начал печать");
    QString PrintNotFinished = QStringLiteral("принтер не закончил печать");
    QString NoPicture = QStringLiteral("Изображение сейчас недоступно");
    QString NoData = QStringLiteral("Движение не рассчитано");
    // Under a printed chart's title; %1 the date.
    QString HandoutDate = QStringLiteral("Дата: %1");

    bool operator==(const PictureMenuTexts &) const = default;
};

// The keys of every window's picture menu, each an optional one: the menu came
// after the files made for the designed windows.
inline constexpr LocaleKey PictureMenuKeys[] = {
    menuKey("MenuPrint", &PictureMenuTexts::Print),
    menuKey("MenuSaveImage", &PictureMenuTexts::SaveImage),
    menuKey("MenuCopy", &PictureMenuTexts::Copy),
    menuKey("MenuExportCsv", &PictureMenuTexts::ExportCsv),
    menuKey("MenuToolTip", &PictureMenuTexts::ToolTip),
    menuKey("MenuPngFilter", &PictureMenuTexts::PngFilter),
    menuKey("MenuBmpFilter", &PictureMenuTexts::BmpFilter),
    menuKey("MenuSvgFilter", &PictureMenuTexts::SvgFilter),
    menuKey("MenuCsvFilter", &PictureMenuTexts::CsvFilter),
    menuKey("MenuSpreadsheetCsvFilter", &PictureMenuTexts::SpreadsheetCsvFilter),
    menuKey("MenuWriteFailed", &PictureMenuTexts::WriteFailed),
    menuKey("MenuNotRegularFile", &PictureMenuTexts::NotRegularFile),
    menuKey("MenuNotEncoded", &PictureMenuTexts::NotEncoded),
    menuKey("MenuPrintFailed", &PictureMenuTexts::PrintFailed),
    menuKey("MenuPrintNotBegun", &PictureMenuTexts::PrintNotBegun),
    menuKey("MenuPrintNotFinished", &PictureMenuTexts::PrintNotFinished),
    menuKey("MenuNoPicture", &PictureMenuTexts::NoPicture),
    menuKey("MenuNoData", &PictureMenuTexts::NoData),
    menuKey("MenuHandoutDate", &PictureMenuTexts::HandoutDate),
};
