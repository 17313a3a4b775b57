#include "net/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <exception>
#include <mutex>
#include <utility>

#include "net/extra_ca.h"
#include "platform/text_locale.h"

namespace net {
namespace {

// The headers the cloud API has always seen from this program, on every
// request, GET included.
constexpr char kAccept[] =
    "Accept: application/json,text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
constexpr char kUserAgent[] =
    "Mozilla/5.0 (Windows NT 6.1; WOW64; rv:12.0) Gecko/20100101 Firefox/12.0";
constexpr char kContentType[] = "Content-Type: application/json; charset=utf-8";
constexpr char kContentEncoding[] = "Content-Encoding: utf-8";
// curl would announce a POST body and wait for the server's go-ahead.
constexpr char kNoExpect[] = "Expect:";

// Fourteen redirects in a row are followed; the fifteenth ends the request
// as an error status.
constexpr long kFollowedRedirects = 14;

void initialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

std::string lowerAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

// The charset parameter of a Content-Type value, lower-cased; empty when
// none is declared.
std::string declaredCharset(const std::string& contentType) {
  size_t pos = contentType.find(';');
  while (pos != std::string::npos) {
    size_t next = contentType.find(';', pos + 1);
    std::string param =
        contentType.substr(pos + 1, next == std::string::npos ? next : next - pos - 1);
    size_t eq = param.find('=');
    if (eq != std::string::npos && lowerAscii(trimmed(param.substr(0, eq))) == "charset") {
      std::string value = trimmed(param.substr(eq + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
      }
      return lowerAscii(trimmed(value));
    }
    pos = next;
  }
  return "";
}

}  // namespace

std::string utf8ToAnsiText(const std::string& bytes) {
  // A byte-order mark is not text; left in, it would stand before the JSON.
  if (bytes.compare(0, 3, "\xef\xbb\xbf") == 0) return platform::utf8ToAnsi(bytes.substr(3));
  return platform::utf8ToAnsi(bytes);
}

std::string decodeBody(const std::string& contentType, const std::string& body) {
  std::string charset = declaredCharset(contentType);
  if (charset == "utf-8" || charset == "utf8") return utf8ToAnsiText(body);
  // No charset, ISO-8859-1, Windows-1252 or one not known here: each byte
  // is one character of the program's text.
  return body;
}

struct HttpClient::Impl {
  CURLSH* share = nullptr;  // holds the cookies, which outlive every connection
  curl_slist* headers = nullptr;
  CURL* easy = nullptr;  // holds the open connection until disconnect()
  std::stop_token stop;
  // The client's watcher of the body (HttpFetcher::watchBody).
  const std::function<void(int64_t)>* watcher = nullptr;

  // Per request.
  std::string body;
  std::string statusLine;  // of the latest reply
  std::string date;        // its "Date" header
  char errorText[CURL_ERROR_SIZE] = {};

  // An error raised inside a callback, rethrown once libcurl has returned:
  // no exception may run through libcurl's C frames.
  std::exception_ptr callbackError;

  // Runs a callback's work; on an exception it keeps it and tells libcurl
  // to stop the transfer (any count other than the one it passed).
  template <class Work>
  static size_t guardedCallback(void* self, size_t bytes, Work work) {
    auto* impl = static_cast<Impl*>(self);
    try {
      work(*impl);
      return bytes;
    } catch (...) {
      impl->callbackError = std::current_exception();
      return bytes == 0 ? 1 : 0;
    }
  }

  static size_t onBody(char* data, size_t size, size_t count, void* self) {
    return guardedCallback(self, size * count, [&](Impl& impl) {
      impl.body.append(data, size * count);
      if (impl.watcher && *impl.watcher) (*impl.watcher)(static_cast<int64_t>(impl.body.size()));
    });
  }

  static size_t onHeader(char* data, size_t size, size_t count, void* self) {
    return guardedCallback(self, size * count, [&](Impl& impl) {
      std::string line(data, size * count);
      while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
      if (lowerAscii(line.substr(0, 5)) == "date:") {
        size_t value = line.find_first_not_of(" \t", 5);
        impl.date = value == std::string::npos ? "" : line.substr(value);
      }
      // Each reply of a redirect chain starts with its status line.
      if (line.rfind("HTTP/", 0) != 0) return;
      impl.statusLine = line;
      impl.date.clear();
    });
  }

  // Called by libcurl about once a second even while nothing arrives, so a
  // stalled request notices its owner going.
  static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Impl*>(self)->stop.stop_requested() ? 1 : 0;
  }

  CURL* handle() {
    if (easy) return easy;
    easy = curl_easy_init();
    if (!easy) throw RequestError("Cannot create an HTTP connection.");
    curl_easy_setopt(easy, CURLOPT_SHARE, share);
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");  // cookie engine on, no file
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kFollowedRedirects);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");  // never a proxy from the environment
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
#ifdef _WIN32
    curl_easy_setopt(easy, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_NATIVE_CA));
    // The cross-built library carries the build machine's CA bundle path;
    // on Windows that names a file any local user could plant.
    curl_easy_setopt(easy, CURLOPT_CAINFO, nullptr);
    curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
#endif
    std::string_view extraCa = extraCaCertificates();
    if (!extraCa.empty()) {
      curl_blob blob{const_cast<char*>(extraCa.data()), extraCa.size(), CURL_BLOB_COPY};
      curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &blob);
    }
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Impl::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Impl::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);
    if (stop.stop_possible()) {
      curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Impl::onProgress);
      curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
      curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    }
    return easy;
  }

  [[noreturn]] void fail(CURL* h, CURLcode code, const Timeouts& limits) {
    std::string text = errorText[0] ? std::string(errorText) : curl_easy_strerror(code);
    switch (code) {
      case CURLE_ABORTED_BY_CALLBACK:
        throw Cancelled();
      case CURLE_OPERATION_TIMEDOUT: {
        curl_off_t ready = 0, total = 0;
        curl_easy_getinfo(h, CURLINFO_PRETRANSFER_TIME_T, &ready);
        curl_easy_getinfo(h, CURLINFO_TOTAL_TIME_T, &total);
        if (ready == 0) throw ConnectTimeout((limits.connectMs + 999) / 1000);
        // The whole request's limit, or a silence as long as the stall limit.
        const bool whole = total / 1000 + 500 >= limits.totalMs;
        throw ReadTimeout(whole ? (limits.totalMs + 999) / 1000 : limits.stallSeconds);
      }
      case CURLE_TOO_MANY_REDIRECTS: {
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        throw HttpProtocolError(static_cast<int>(status), statusLine);
      }
      case CURLE_SSL_CONNECT_ERROR:
      case CURLE_PEER_FAILED_VERIFICATION:
      case CURLE_SSL_CERTPROBLEM:
      case CURLE_SSL_CIPHER:
      case CURLE_SSL_CACERT_BADFILE:
      case CURLE_SSL_ISSUER_ERROR:
      case CURLE_SSL_INVALIDCERTSTATUS:
      case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
      case CURLE_SSL_ENGINE_INITFAILED:
      case CURLE_SSL_ENGINE_NOTFOUND:
      case CURLE_SSL_ENGINE_SETFAILED:
        throw TlsError(text);
      case CURLE_URL_MALFORMAT:
      case CURLE_UNSUPPORTED_PROTOCOL:
        throw RequestError(text);
      default:
        throw SocketError(text);
    }
  }

  // Performs one request; the body of a 2xx reply, raw.
  std::string perform(const std::string& url, const std::string* postBody, const Timeouts& limits) {
    CURL* h = handle();
    body.clear();
    statusLine.clear();
    date.clear();
    errorText[0] = '\0';

    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    if (postBody) {
      // The load test's worker speaks HTTP/1.0, as the print service has
      // always been addressed for order posts.
      curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
      curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(postBody->size()));
      curl_easy_setopt(h, CURLOPT_COPYPOSTFIELDS, postBody->c_str());
    } else {
      curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
      curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    }
    // A request begun over HTTPS never goes on in the clear.
    const bool secure = lowerAscii(url.substr(0, 8)) == "https://";
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limits.connectMs);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limits.totalMs);
    if (stop.stop_requested()) throw Cancelled();

    callbackError = nullptr;
    CURLcode code = curl_easy_perform(h);
    if (callbackError) {
      body.clear();
      std::rethrow_exception(std::exchange(callbackError, nullptr));
    }
    if (code != CURLE_OK) {
      body.clear();
      fail(h, code, limits);
    }
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
      // The body of an error reply is never handed on.
      body.clear();
      throw HttpProtocolError(static_cast<int>(status), statusLine);
    }
    std::string result;
    result.swap(body);
    return result;
  }

  std::string contentType() {
    char* type = nullptr;
    if (easy) curl_easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &type);
    return type ? type : "";
  }
};

HttpClient::HttpClient(Timeouts limits, std::stop_token stop)
    : HttpFetcher(limits), impl_(std::make_unique<Impl>()) {
  initialiseCurlOnce();
  impl_->stop = std::move(stop);
  impl_->watcher = &watcher_;
  impl_->share = curl_share_init();
  if (!impl_->share) throw RequestError("Cannot create an HTTP client.");
  curl_share_setopt(impl_->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  for (const char* header : {kAccept, kContentType, kContentEncoding, kNoExpect}) {
    impl_->headers = curl_slist_append(impl_->headers, header);
  }
}

HttpClient::~HttpClient() {
  disconnect();
  curl_slist_free_all(impl_->headers);
  curl_share_cleanup(impl_->share);
}

std::string HttpClient::getText(const std::string& url, const Timeouts& limits) {
  std::string body = impl_->perform(url, nullptr, limits);
  return decodeBody(impl_->contentType(), body);
}

std::string HttpClient::getStream(const std::string& url, const Timeouts& limits) {
  return impl_->perform(url, nullptr, limits);
}

std::string HttpClient::post(const std::string& url, const std::string& body,
                             const Timeouts& limits) {
  return impl_->perform(url, &body, limits);
}

std::string HttpClient::replyDate() const { return impl_->date; }

void HttpClient::disconnect() {
  if (impl_->easy) {
    curl_easy_cleanup(impl_->easy);
    impl_->easy = nullptr;
  }
}

HttpConnector& systemHttp() {
  struct SystemHttp : HttpConnector {
    std::unique_ptr<HttpFetcher> open(std::stop_token stop) override {
      return std::make_unique<HttpClient>(kRemoteTimeouts, std::move(stop));
    }
  };
  static SystemHttp http;
  return http;
}

}  // namespace net
