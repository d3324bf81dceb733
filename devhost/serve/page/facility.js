// What the page knows of the facility: the latest state the server pushed,
// when it came, and the server's first event (the parent panel's choices,
// the kinds of traffic line).

export const facility = {
  state: null,
  stateAt: 0, // performance.now() when the state arrived
  hello: { kinds: [], choices: { sources: [], destinations: [], cueRouter: null } },
};

export function setState(state) {
  facility.state = state;
  facility.stateAt = performance.now();
}

export function setHello(hello) {
  facility.hello = hello;
}

// The virtual time now: in real time it moves on between states.
export function virtualNow() {
  const state = facility.state;
  if (!state) return 0;
  if (state.realtime && state.alive) {
    return state.now + Math.floor(performance.now() - facility.stateAt);
  }
  return state.now;
}
