// A static server for the page's tests and measurements, on 127.0.0.1: serves a folder that
// can be swapped (a new build), sends a file's precompressed twin where the browser takes its
// encoding, as a server with precompressed serving does, counts what it sent, and can be
// stopped and started again on the same port (no network).
"use strict";
const fs = require("node:fs");
const http = require("node:http");
const path = require("node:path");

const types = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".wasm": "application/wasm",
  ".data": "application/octet-stream", ".png": "image/png",
  ".webmanifest": "application/manifest+json",
};

class SiteServer {
  constructor(root) {
    this.root = root;
    this.port = 0;
    this.sent = 0;  // body bytes, as sent
    this.files = [];  // [path, encoding, bytes] of each answer
    this.server = null;
  }

  get url() { return `http://127.0.0.1:${this.port}/`; }

  // The file for a request's path inside the root, or null.
  file(urlPath) {
    let name;
    try {
      name = decodeURIComponent(urlPath.split("?")[0]);
    } catch {
      return null;
    }
    if (name.endsWith("/")) name += "index.html";
    const full = path.resolve(this.root, "." + name);
    if (!full.startsWith(path.resolve(this.root) + path.sep)) return null;
    return fs.existsSync(full) && fs.statSync(full).isFile() ? full : null;
  }

  answer(request, response) {
    const full = this.file(request.url);
    if (!full || request.method !== "GET") {
      response.writeHead(full ? 405 : 404);
      response.end();
      return;
    }
    const accepts = String(request.headers["accept-encoding"] || "");
    let body = full, encoding = null;
    for (const [name, suffix] of [["br", ".br"], ["gzip", ".gz"]]) {
      if (new RegExp(`\\b${name}\\b`).test(accepts) && fs.existsSync(full + suffix)) {
        body = full + suffix;
        encoding = name;
        break;
      }
    }
    const stat = fs.statSync(body);
    const tag = `"${stat.size.toString(16)}-${Math.floor(stat.mtimeMs).toString(16)}"`;
    if (request.headers["if-none-match"] === tag) {
      response.writeHead(304, { "ETag": tag, "Vary": "Accept-Encoding" });
      response.end();
      this.files.push([request.url.split("?")[0], "unchanged", 0]);
      return;
    }
    const data = fs.readFileSync(body);
    // Revalidated on every use, as a page's files should be without names that change.
    const headers = { "ETag": tag, "Vary": "Accept-Encoding", "Cache-Control": "no-cache",
                      "Content-Type": types[path.extname(full)] || "application/octet-stream",
                      "Content-Length": data.length };
    if (encoding) headers["Content-Encoding"] = encoding;
    response.writeHead(200, headers);
    response.end(data);
    this.sent += data.length;
    this.files.push([request.url.split("?")[0], encoding, data.length]);
  }

  async start() {
    this.server = http.createServer((q, r) => this.answer(q, r));
    await new Promise((resolve, reject) => {
      this.server.once("error", reject);
      this.server.listen(this.port, "127.0.0.1", resolve);
    });
    this.port = this.server.address().port;
  }

  async stop() {
    if (!this.server) return;
    const server = this.server;
    this.server = null;
    await new Promise((resolve) => {
      server.close(resolve);
      server.closeAllConnections();
    });
  }
}

module.exports = { SiteServer };
