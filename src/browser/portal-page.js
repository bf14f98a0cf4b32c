// Runs in the portal's own pages (main frame, main world) as the document is made. Gives the page
// the object "tivora", hands the page's own films to the client's player, and reports where the
// film's element is so the client's picture lies on it. The client fills in the portal's origin,
// the page's token and the web channel's own script before it hands this over.
(function () {
    'use strict';
    if (window.top !== window || location.origin !== '@ORIGIN@') {
        return;
    }
    var token = '@TOKEN@';
    var QWebChannel = (function () {
        var module;
        @CHANNEL@
        return QWebChannel;
    })();

    var api = null;
    var queued = [];
    var events = new EventTarget();
    var element = null;    // the element the film is shown in
    var taken = null;      // the page's own player element taken over, if that is what plays
    var takeover = false;
    var lastRect = '';

    function send(name, args) {
        if (api) {
            api[name].apply(api, [token].concat(args));
        } else if (queued.length < 64) {
            queued.push([name, args]);
        }
    }
    // The page's own calls, at most this many a second; the rest never leave the page, and the
    // client hears once that there were more. Taken before any page script can replace it.
    var now = performance.now.bind(performance);
    var rate = {start: -Infinity, calls: 0, told: false};
    function sendLimited(name, args) {
        var t = now();
        if (t - rate.start >= 1000) {
            rate.start = t;
            rate.calls = 0;
        }
        if (++rate.calls <= @RATE@) {
            send(name, args);
            return true;
        }
        if (!rate.told) {
            rate.told = true;
            send('tooOften', []);
        }
        return false;
    }
    function fire(type, detail) {
        events.dispatchEvent(new CustomEvent(type, {detail: detail}));
    }

    // Where the element is, in CSS pixels of the viewport; hidden when it is gone or not shown.
    function report() {
        if (!element) {
            return;
        }
        if (!element.isConnected) {
            var gone = element;
            element = null;
            lastRect = '';
            if (gone === taken) {
                taken = null;
            }
            send('elementGone', []);
            return;
        }
        var r = element.getBoundingClientRect();
        var style = getComputedStyle(element);
        var shown = r.width > 0 && r.height > 0 && style.visibility !== 'hidden' &&
            style.display !== 'none';
        var rect = {x: r.left, y: r.top, width: r.width, height: r.height, shown: shown,
                    pageHidden: document.visibilityState === 'hidden'};
        var key = JSON.stringify(rect);
        if (key !== lastRect) {
            lastRect = key;
            send('place', [rect]);
        }
    }
    var framePending = false;
    function reportSoon() {
        // A hidden page draws no frames: it reports at once.
        if (document.visibilityState === 'hidden') {
            report();
        } else if (!framePending) {
            framePending = true;
            requestAnimationFrame(function () { framePending = false; report(); });
        }
    }
    var resizes = new ResizeObserver(reportSoon);
    function follow(el) {
        if (element) {
            resizes.unobserve(element);
        }
        element = el;
        lastRect = '';
        if (el) {
            resizes.observe(el);
            report();
        }
    }
    window.addEventListener('scroll', reportSoon, true);
    window.addEventListener('resize', reportSoon);
    document.addEventListener('visibilitychange', reportSoon);
    new MutationObserver(function (records) {
        reportSoon();
        if (takeover) {
            records.forEach(function (record) {
                if (record.type === 'attributes') {
                    consider(record.target);
                }
                record.addedNodes.forEach(function (node) {
                    if (node.nodeType === 1) {
                        scan(node);
                    }
                });
            });
        }
    }).observe(document, {subtree: true, childList: true, attributes: true,
                          attributeFilter: ['src', 'data', 'type', 'style', 'class', 'hidden']});
    // Transitions and animations move elements without telling anyone.
    setInterval(report, 500);

    function absolute(address) {
        try {
            return new URL(address, document.baseURI).href;
        } catch (e) {
            return '';
        }
    }
    // The address a page's player element would play, when it is one Tivora plays instead.
    function filmOf(el) {
        if (el.dataset && el.dataset.tivora) {
            return '';
        }
        if (el.tagName === 'VIDEO') {
            var src = el.getAttribute('src') || '';
            if (!src) {
                var source = el.querySelector('source[src]');
                src = source ? source.getAttribute('src') : '';
            }
            var address = src ? absolute(src) : '';
            // blob: and Media Source players stay in the page.
            return /^https?:/i.test(address) ? address : '';
        }
        if (el.tagName === 'EMBED' || el.tagName === 'OBJECT') {
            var type = (el.getAttribute('type') || '').toLowerCase();
            var named = el.getAttribute('src') || el.getAttribute('data') || '';
            if (!named) {
                var param = el.querySelector('param[name=src i], param[name=url i], param[name=filename i]');
                named = param ? param.getAttribute('value') || '' : '';
            }
            if (!named) {
                return '';
            }
            var legacy = /realaudio|realvideo|realmedia|x-pn-|vnd\.rn-|mpegurl/.test(type) ||
                /^(rtsp|rtsps|mms|mmsh):/i.test(named) || /\.(rm|rmvb|m3u8)([?#]|$)/i.test(named);
            return legacy ? absolute(named) : '';
        }
        return '';
    }
    function take(el, address) {
        if (taken === el || (element && element !== taken)) {
            return;  // the page plays through the object itself
        }
        if (!sendLimited('play', [address, {title: document.title, takeover: true}])) {
            return;
        }
        el.dataset.tivora = 'taken';
        if (el.tagName === 'VIDEO') {
            el.dataset.tivoraMuted = el.muted ? '1' : '';
            el.pause();
            el.muted = true;
            el.addEventListener('play', function () {
                if (el.dataset.tivora === 'taken') {
                    el.pause();
                }
            });
        }
        taken = el;
        follow(el);
    }
    function consider(el) {
        if (el.tagName === 'SOURCE' && el.parentElement) {
            el = el.parentElement;
        }
        if (!/^(VIDEO|EMBED|OBJECT)$/.test(el.tagName)) {
            return;
        }
        var address = filmOf(el);
        if (address) {
            take(el, address);
        }
    }
    function scan(root) {
        if (root.matches && root.matches('video, embed, object')) {
            consider(root);
        }
        if (root.querySelectorAll) {
            root.querySelectorAll('video, embed, object').forEach(consider);
        }
    }
    document.addEventListener('play', function (event) {
        if (takeover) {
            consider(event.target);
        }
    }, true);

    // Gives the film back to the page's own element.
    function handBack(address, position) {
        var el = taken || element;
        follow(null);
        taken = null;
        if (!el) {
            return;
        }
        el.dataset.tivora = 'page';
        if (el.tagName === 'VIDEO') {
            if (!el.getAttribute('src') && !el.querySelector('source[src]')) {
                el.src = address;
            }
            el.muted = el.dataset.tivoraMuted === '1';
            el.addEventListener('loadedmetadata', function () {
                el.currentTime = position;
            }, {once: true});
            if (el.readyState > 0) {
                el.currentTime = position;
            }
            el.play().catch(function () {});
        }
        fire('handback', {position: position});
    }

    function connect() {
        if (!window.qt || !qt.webChannelTransport) {
            setTimeout(connect, 5);
            return;
        }
        new QWebChannel(qt.webChannelTransport, function (channel) {
            api = channel.objects.tivoraPlayer;
            takeover = api.takeover;
            api.positionChanged.connect(function (position, duration) {
                fire('position', {position: position, duration: duration});
            });
            api.ended.connect(function () { fire('ended', {}); });
            api.failed.connect(function (message) { fire('error', {message: message}); });
            api.handedBack.connect(handBack);
            api.takeoverChanged.connect(function (on) { takeover = on; });
            queued.splice(0).forEach(function (call) { send(call[0], call[1]); });
            if (element) {
                lastRect = '';
                report();
            }
            if (takeover) {
                if (document.readyState === 'loading') {
                    document.addEventListener('DOMContentLoaded', function () { scan(document); });
                } else {
                    scan(document);
                }
            }
        });
    }
    connect();

    var tivora = {
        // options: title, filmId, start (seconds), subtitles (addresses), element (where the
        // picture goes; the first video of the page, else the whole page, when not given).
        play: function (address, options) {
            options = options && typeof options === 'object' ? options : {};
            var el = options.element instanceof Element ? options.element
                : document.querySelector('video') || document.documentElement;
            if (taken && taken !== el) {
                taken.dataset.tivora = '';
                taken = null;
            }
            var plain = {};
            ['title', 'filmId', 'start', 'subtitles'].forEach(function (key) {
                if (key in options) {
                    plain[key] = options[key];
                }
            });
            if (sendLimited('play', [address, plain])) {
                follow(el);
            }
        },
        pause: function () { sendLimited('pause', []); },
        resume: function () { sendLimited('resume', []); },
        seek: function (seconds) { sendLimited('seek', [seconds]); },
        stop: function () {
            if (sendLimited('stop', [])) {
                follow(null);
                taken = null;
            }
        },
        addEventListener: events.addEventListener.bind(events),
        removeEventListener: events.removeEventListener.bind(events)
    };
    Object.defineProperty(window, 'tivora', {value: Object.freeze(tivora), enumerable: false});
})();
