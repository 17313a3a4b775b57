// What the print service does with the tool's files and requests: it reads
// the printer, category, product and card tables (again whenever the
// settings key "reload" says "S"), prints its own test page on a printer of
// the table, and queues every order it receives under the printers its
// items are routed to, in the queue file "fila" that the tool's log screen
// lists. The stand-in prints no order: jobs stay queued, as they do while a
// printer is offline.
//
// Files written in the application directory: "fila" (the queue, one JSON
// line), "service-orders.txt" (the number of orders received, in decimal),
// "service-capture.txt" (test pages of printers not driven through the
// Epson library) and the daily log.
//
// Safe to call from the HTTP server's threads at once.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "json/json.h"

namespace standin {

inline constexpr char kQueueFile[] = "fila";
inline constexpr char kOrderCountFile[] = "service-orders.txt";
inline constexpr char kCaptureFile[] = "service-capture.txt";

class PrintService {
 public:
  explicit PrintService(std::string applicationDirectory);
  ~PrintService();

  // The tables and the queue as the files hold them now.
  void start();

  // Reloads the tables when the tool has set "reload" to "S". The key goes
  // back to "N" before the files are read, so a save of the tool made while
  // they are being read raises it again and is not missed.
  void reloadIfAsked();

  // {"success":true} while the service works.
  std::string statusReply() const;

  // Prints the test page on the printer at that 0-based position of the
  // printer table: {"success":true}, or {"success":false} for a position
  // that is not a number of the table or a print that failed.
  std::string testReply(const std::string& position);

  // An order in the tool's format, as UTF-8 JSON text. False (and a log
  // line) when it is not an order.
  bool receiveOrder(const std::string& utf8Body);

  // Writes the queue and the order count when they changed since the last
  // call. Orders arrive in bursts; writing after each one would rewrite the
  // whole queue a thousand times in a load test.
  void flush();

  uint64_t ordersReceived() const;

 private:
  void loadTables();
  void loadQueue();
  const json::TJSONObject* printerNamed(const std::string& name) const;
  const json::TJSONObject* defaultPrinter() const;
  std::string printerForItem(const json::TJSONObject& item) const;
  bool printTestPage(const json::TJSONObject& printer, std::string& failure);
  void log(const std::string& message) const;

  const std::string dir_;
  mutable std::mutex mutex_;
  std::unique_ptr<json::TJSONArray> printers_;
  std::unique_ptr<json::TJSONArray> categories_;
  std::unique_ptr<json::TJSONArray> products_;
  std::unique_ptr<json::TJSONArray> cards_;
  std::string companyName_ = "QUELTA";
  std::unique_ptr<json::TJSONObject> queue_;
  uint64_t orders_ = 0;
  bool dirty_ = false;
  std::mutex flushMutex_;
};

}  // namespace standin
