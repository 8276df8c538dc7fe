#pragma once

#include <QString>

// The built-in texts of a picture's context menu and of its messages. Each
// window's menu holds its own copy (PictureMenu::Texts); a localisation
// step may replace any of them from the optional key named beside it in the
// window's section, and an absent key keeps the built-in text.
struct PictureMenuTexts
{
    QString Print = QStringLiteral("Печать…"); // "MenuPrint"
    QString SaveImage = QStringLiteral("Сохранить изображение…"); // "MenuSaveImage"
    QString Copy = QStringLiteral("Копировать"); // "MenuCopy"
    QString ExportCsv = QStringLiteral("Экспорт данных (CSV)…"); // "MenuExportCsv"
    QString ToolTip = QStringLiteral("Правая кнопка мыши: меню"); // "MenuToolTip"
    QString PngFilter = QStringLiteral("Изображение PNG (*.png)"); // "MenuPngFilter"
    QString BmpFilter = QStringLiteral("Изображение BMP (*.bmp)"); // "MenuBmpFilter"
    // Offered for a chart; the scene is a raster.
    QString SvgFilter = QStringLiteral("Векторное изображение SVG (*.svg)"); // "MenuSvgFilter"
    QString CsvFilter = QStringLiteral("Данные CSV (*.csv)"); // "MenuCsvFilter"
    // ";" between the fields and the decimal separator the program shows.
    QString SpreadsheetCsvFilter = QStringLiteral(
        "Данные CSV для электронной таблицы (*.csv)"); // "MenuSpreadsheetCsvFilter"
    // %1 the file, %2 the reason.
    QString WriteFailed = QStringLiteral("Не удалось записать файл %1:\n%2"); // "MenuWriteFailed"
    // The reason when the name is a device, a pipe or a folder.
    QString NotRegularFile = QStringLiteral("это не обычный файл"); // "MenuNotRegularFile"
    // The reason when the picture or the series cannot be put into the file's format.
    QString NotEncoded
        = QStringLiteral("данные не удалось преобразовать в формат файла"); // "MenuNotEncoded"
    // %1 the reason.
    QString PrintFailed = QStringLiteral("Не удалось напечатать: %1"); // "MenuPrintFailed"
    // The reasons: the printer cannot begin or finish the document.
    QString PrintNotBegun = QStringLiteral("принтер не начал печать"); // "MenuPrintNotBegun"
    QString PrintNotFinished
        = QStringLiteral("принтер не закончил печать"); // "MenuPrintNotFinished"
    QString NoPicture = QStringLiteral("Изображение сейчас недоступно"); // "MenuNoPicture"
    QString NoData = QStringLiteral("Движение не рассчитано"); // "MenuNoData"
    // Under a printed chart's title; %1 the date.
    QString HandoutDate = QStringLiteral("Дата: %1"); // "MenuHandoutDate"

    bool operator==(const PictureMenuTexts &) const = default;
};
