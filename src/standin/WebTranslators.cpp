#include "standin/WebTranslators.h"

#include "http/FormDecoding.h"
#include "platform/Crypto.h"
#include "standin/Glossary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <map>
#include <sstream>

namespace quorvex {
namespace {

using Fields = std::map<std::string, std::string>;

// The languages the stand-in's LibreTranslate offers, by its codes.
constexpr std::array<std::string_view, 7> kLibreLanguages{"en", "zh", "zt", "es", "fr", "ja", "ar"};

THttpResponse Json(int code, std::string reason, const QJsonValue& value) {
    const QByteArray body = value.isArray()
                                ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                                : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    return {code, std::move(reason), "application/json; charset=UTF-8", body.toStdString(), {}};
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The form fields of a GET's query or a POST's body.
Fields FieldsOf(const THttpRequest& request) {
    return DecodeForm(request.Method == "GET" ? request.Query() : request.Body);
}

std::string Required(const Fields& fields, const std::string& name) {
    const auto field = fields.find(name);
    if (field == fields.end())
        throw EBadRequest("the request has no " + name + " field");
    return field->second;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// Google's reply: a segment per line, then the transliteration segment, whose translation is
// null, as the real endpoint sends for a Chinese target.
THttpResponse GoogleRequest(const THttpRequest& request) {
    const Fields fields = FieldsOf(request);
    if (Required(fields, "client") != "gtx")
        throw EBadRequest("only client=gtx is served");
    const std::string source = Required(fields, "sl");
    const std::string text = Required(fields, "q");
    QJsonArray segments;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        const std::string original = line + (stream.eof() ? "" : "\n");
        segments.append(QJsonArray{
            Text(TranslateWithGlossary(source, Required(fields, "tl"), original)), Text(original)});
    }
    segments.append(QJsonArray{QJsonValue(), QJsonValue(), Text("transliteration")});
    return Json(200, "OK", QJsonArray{segments, QJsonValue(), Text(source)});
}

THttpResponse LibreError(int code, std::string reason, const std::string& message) {
    return Json(code, std::move(reason), QJsonObject{{"error", Text(message)}});
}

THttpResponse LibreTranslateRequest(const THttpRequest& request) {
    const QJsonObject fields =
        QJsonDocument::fromJson(QByteArray::fromStdString(request.Body)).object();
    for (const char* name : {"q", "source", "target"})
        if (!fields.value(name).isString())
            return LibreError(400, "Bad Request",
                              std::string("Invalid request: missing ") + name + " parameter");
    const std::string source = fields.value("source").toString().toStdString();
    const std::string target = fields.value("target").toString().toStdString();
    for (const std::string& language : {source, target})
        if (std::find(kLibreLanguages.begin(), kLibreLanguages.end(), language) ==
            kLibreLanguages.end())
            return LibreError(400, "Bad Request", language + " is not supported");
    const std::string text = fields.value("q").toString().toStdString();
    return Json(200, "OK",
                QJsonObject{{"translatedText", Text(TranslateWithGlossary(source, target, text))}});
}

// Baidu answers its errors with status 200.
THttpResponse BaiduError(const char* code, const char* message) {
    return Json(200, "OK", QJsonObject{{"error_code", code}, {"error_msg", message}});
}

THttpResponse BaiduRequest(const THttpRequest& request) {
    const Fields fields = FieldsOf(request);
    for (const char* name : {"q", "from", "to", "appid", "salt", "sign"})
        if (!fields.contains(name))
            return BaiduError("54000", "PARAM_FROM_TO_OR_Q_EMPTY");
    const std::string text = fields.at("q");
    if (fields.at("appid") != kStandinBaiduAppId)
        return BaiduError("52003", "UNAUTHORIZED USER");
    if (fields.at("sign") !=
        platform::Md5Hex(fields.at("appid") + text + fields.at("salt") + kStandinBaiduKey))
        return BaiduError("54001", "Invalid Sign");
    QJsonArray results;
    for (const std::string& line : Lines(text))
        results.append(QJsonObject{
            {"src", Text(line)},
            {"dst", Text(TranslateWithGlossary(fields.at("from"), fields.at("to"), line))}});
    return Json(200, "OK",
                QJsonObject{{"from", Text(fields.at("from"))},
                            {"to", Text(fields.at("to"))},
                            {"trans_result", results}});
}

} // namespace

void AddWebTranslators(TRouter& router) {
    for (const char* method : {"GET", "POST"}) {
        router.Add(method, "/translate_a/single", GoogleRequest);
        router.Add(method, "/api/trans/vip/translate", BaiduRequest);
    }
    router.Add("POST", "/translate", LibreTranslateRequest);
}

} // namespace quorvex
