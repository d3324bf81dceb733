// What a click asks of the server: an action posted with the page's token,
// which the server runs as a scenario statement in the facility, and the
// session saved as a scenario.
import { el, showMessage } from './dom.js';

const token = document.querySelector('meta[name="vrel-token"]').content;

// When the last click was made, to show how long the page took to follow.
let clickedAt = null;

export function pageToken() {
  return token;
}

// Milliseconds since the last click, once, or null when there was none.
export function takeClickLatency() {
  if (clickedAt === null) return null;
  const latency = performance.now() - clickedAt;
  clickedAt = null;
  return latency;
}

export async function act(body) {
  clickedAt = performance.now();
  let response;
  try {
    response = await fetch('/api/action', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json', 'X-Vrel-Token': token },
      body: JSON.stringify(body),
    });
  } catch (error) {
    showMessage('The server cannot be reached: ' + error.message, 'error');
    return null;
  }
  let answer = {};
  try {
    answer = await response.json();
  } catch (error) {
    answer = { error: 'the server answered ' + response.status };
  }
  if (!response.ok) {
    showMessage(answer.error || 'refused (' + response.status + ')', 'error');
    return null;
  }
  showMessage('');
  return answer;
}

export async function downloadSession() {
  const response = await fetch('/api/session', { headers: { 'X-Vrel-Token': token } });
  if (!response.ok) {
    const answer = await response.json().catch(() => ({}));
    showMessage(answer.error || 'cannot save the session', 'error');
    return;
  }
  const blob = await response.blob();
  const link = el('a', { href: URL.createObjectURL(blob), download: 'session.scenario' });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  showMessage('Session saved as session.scenario; its paths start at the folder the server ' +
              'was started in.', 'info');
}
