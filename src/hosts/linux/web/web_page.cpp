#include "hosts/linux/web/web_page.h"

#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lorvan::linuxhost::web {
namespace {

namespace fs = std::filesystem;

const struct {
  const char* path;
  const char* file;
  const char* type;
} kPageFiles[] = {
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/page.js", "page.js", "text/javascript; charset=utf-8"},
    {"/page.css", "page.css", "text/css; charset=utf-8"},
};

std::string UrlOf(const std::string& address, bool ipv6, int port) {
  return "http://" + (ipv6 ? "[" + address + "]" : address) + ":" + std::to_string(port) + "/";
}

}  // namespace

std::map<std::string, PageFile> LoadPageFiles(const std::string& folder) {
  std::map<std::string, PageFile> files;
  for (const auto& f : kPageFiles) {
    const std::string path = (fs::path(folder) / f.file).string();
    std::ifstream in(path, std::ios::binary);
    if (!in) throw WebError(path + ": the web page's file is missing");
    std::stringstream body;
    body << in.rdbuf();
    files[f.path] = {f.type, body.str()};
  }
  return files;
}

std::map<std::string, PageFile> LoadPageFiles() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const std::string beside = ec ? std::string() : (self.parent_path() / "Web").string();
  const std::string source = std::string(LORVAN_SOURCE_DATA_DIR) + "/Web";
  for (const std::string& folder : {beside, source}) {
    if (!folder.empty() && fs::is_regular_file(fs::path(folder) / "index.html", ec)) return LoadPageFiles(folder);
  }
  throw WebError("the web page's files (Web/index.html) are neither in " + beside + " nor in " + source);
}

std::vector<PageControl> RemoteControls(app::frmMain& form) {
  std::vector<PageControl> controls;
  for (const app::Button* b : form.Buttons()) {
    if (const char k = b->Accelerator()) controls.push_back({b->caption, k, false});
  }
  for (const app::CheckBox* c : form.CheckBoxes()) {
    if (const char k = app::AcceleratorOf(c->caption)) controls.push_back({c->caption, k, true});
  }
  controls.push_back({"Enter", '\r', false});
  for (PageControl& c : controls) c.key = static_cast<char>(std::tolower(static_cast<unsigned char>(c.key)));
  return controls;
}

WebPage::WebPage(const ListenAddress& listen, const std::string& token, app::frmMain& form, Sources sources)
    : listen_(listen), form_(form), sources_(std::move(sources)) {
  ServerConfig config;
  config.listen = listen;
  config.token = token;
  config.files = LoadPageFiles();
  const std::vector<PageControl> controls = RemoteControls(form);
  config.controls_json = ControlsJson(controls);
  for (const PageControl& c : controls) config.keys += c.key;
  server_ = std::make_unique<WebServer>(std::move(config), keys_);
  server_->Publish(frame_);
}

WebPage::~WebPage() = default;

std::vector<std::string> WebPage::Urls() const {
  const int port = server_->port();
  if (!listen_.wildcard) return {UrlOf(listen_.address, listen_.ipv6, port)};
  std::vector<std::string> urls;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) == 0) {
    for (ifaddrs* a = list; a; a = a->ifa_next) {
      if (!a->ifa_addr) continue;
      const int family = a->ifa_addr->sa_family;
      if (family != AF_INET && !(family == AF_INET6 && listen_.ipv6)) continue;
      if (family == AF_INET6 && IN6_IS_ADDR_LINKLOCAL(&reinterpret_cast<sockaddr_in6*>(a->ifa_addr)->sin6_addr)) continue;
      char host[NI_MAXHOST];
      const socklen_t len = family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
      if (getnameinfo(a->ifa_addr, len, host, sizeof(host), nullptr, 0, NI_NUMERICHOST) != 0) continue;
      urls.push_back(UrlOf(host, family == AF_INET6, port));
    }
    freeifaddrs(list);
  }
  if (urls.empty()) urls.push_back(UrlOf(listen_.ipv6 ? "::1" : "127.0.0.1", listen_.ipv6, port));
  return urls;
}

void WebPage::NoteKey(char key) {
  frame_.key = key;
  ++frame_.keys;
}

void WebPage::Publish() {
  // A frame goes out after a transfer to the panel (each refresh ends with one), and only when
  // something the page shows differs; the transfer time alone does not make a new frame.
  const int64_t writes = sources_.panel_writes();
  if (writes == panel_writes_) return;
  panel_writes_ = writes;
  // Every refresh sends the whole picture; it is read again only when the controllers' memory
  // or display settings differ from the last time.
  const lcd::ks0108::Panel& panel = sources_.panel;
  const auto same = [](const lcd::ks0108::Controller& a, const lcd::ks0108::Controller& b) {
    return a.ram == b.ram && a.display_on == b.display_on && a.start_line == b.start_line;
  };
  if (!same(chips_[0], panel.Left()) || !same(chips_[1], panel.Right())) {
    chips_ = {panel.Left(), panel.Right()};
    PackPanel([&](int x, int y) { return panel.Pixel(x, y); }, frame_.panel);
  }
  frame_.info = form_.lblAppInfo.caption;
  frame_.file = form_.txtCurFileNr.text;
  frame_.files = form_.txtTotalFileNr.text;
  frame_.time = form_.txtCurMinutes.text + ":" + form_.txtCurSeconds.text;
  frame_.total = form_.txtTotalMinutes.text + ":" + form_.txtTotalSeconds.text;
  frame_.bitrate = form_.txtBitrate.text;
  frame_.tx = published_.tx;
  frame_.player = sources_.player();
  frame_.checks.clear();
  for (const app::CheckBox* c : form_.CheckBoxes()) {
    if (app::AcceleratorOf(c->caption) != 0) frame_.checks.push_back(c->value);
  }
  if (frame_ == published_) return;
  frame_.tx = form_.lblTxTime.caption;
  published_ = frame_;
  server_->Publish(frame_);
}

}  // namespace lorvan::linuxhost::web
