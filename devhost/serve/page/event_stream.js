// The server's events, read with fetch rather than EventSource: a burst of
// events (a page that opens on a long log, or a flood of lines) is then taken
// in slices of a few milliseconds, and clicks are handled between them.
import { pageToken } from './actions.js';
import { $ } from './dom.js';

const stream = {
  handlers: {},
  pending: [],
  pendingAt: 0,
  draining: false,
};

function drain() {
  const start = performance.now();
  while (stream.pendingAt < stream.pending.length && performance.now() - start < 8) {
    const [type, data] = stream.pending[stream.pendingAt++];
    if (stream.handlers[type]) stream.handlers[type](data);
  }
  if (stream.pendingAt < stream.pending.length) {
    setTimeout(drain, 0);
    return;
  }
  stream.pending.length = 0;
  stream.pendingAt = 0;
  stream.draining = false;
}

// Splits Server-Sent Events text into [type, data] pairs; returns what is
// left of an event not yet complete.
function splitEvents(text) {
  let at = 0;
  for (let end = text.indexOf('\n\n', at); end >= 0; end = text.indexOf('\n\n', at)) {
    let type = 'message';
    let data = '';
    for (const line of text.slice(at, end).split('\n')) {
      if (line.startsWith('event: ')) type = line.slice(7);
      else if (line.startsWith('data: ')) data += (data ? '\n' : '') + line.slice(6);
    }
    if (data) stream.pending.push([type, data]);
    at = end + 2;
  }
  if (!stream.draining && stream.pendingAt < stream.pending.length) {
    stream.draining = true;
    setTimeout(drain, 0);
  }
  return text.slice(at);
}

// Reads the events for good, giving each to its handler by type; the stream
// is opened again a second after it ends.
export async function connect(handlers) {
  stream.handlers = handlers;
  for (;;) {
    let problem = '';
    try {
      const response = await fetch('/api/events?token=' + encodeURIComponent(pageToken()),
                                   { cache: 'no-store' });
      if (!response.ok) {
        // Too many pages open (503), or a refusal: the server says which.
        const answer = await response.json().catch(() => ({}));
        throw new Error(answer.error || 'refused (' + response.status + ')');
      }
      const reader = response.body.getReader();
      const decoder = new TextDecoder();
      let rest = '';
      for (;;) {
        const { value, done } = await reader.read();
        if (done) break;
        rest = splitEvents(rest + decoder.decode(value, { stream: true }));
      }
    } catch (error) {
      // Shown below; the stream is opened again.
      problem = error.message;
    }
    const badge = $('facility-status');
    badge.textContent = 'server not reachable';
    badge.className = 'badge down';
    badge.title = problem;
    await new Promise((resolve) => setTimeout(resolve, 1000));
  }
}
