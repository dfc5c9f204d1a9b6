#include "analysis/character_texts.h"

namespace velmora::analysis {

// Rows run Aries to Pisces. The texts are kept exactly as written, including the
// doubled blanks in the looks of Leo and the love texts of Virgo and Scorpio.
const std::array<std::array<std::string_view, 12>, kCharacterColumnCount> kCharacterTexts{{
    // Looks
    {{
        // Aries
        "You may be slim and of medium complexion. Your eyes are bright and alert, and "
        "you move with quick, purposeful steps. A broad forehead and a direct gaze make "
        "you easy to spot in a crowd.",
        // Taurus
        "You are attractive and beautiful. Your face is gentle and well-shaped, with a "
        "strong neck and full lips. Your eyes are soft and expressive, and there is "
        "quiet grace in how you carry yourself.",
        // Gemini
        "You are tall slim and good looking. You may have curly hair and an elevated "
        "nose. Generally Geminians have attractive features.",
        // Cancer
        "You have a medium stature and may be a bit stout. Your face is round and "
        "pleasant, and your soft eyes always carry a kind and warm look.",
        // Leo
        "You are tall  and have broad squarely built shoulders. You hold your head high, "
        "and your thick hair and proud bearing lend a stately air.",
        // Virgo
        "You are tall and slim with sharp features. You look younger than your years, "
        "and you always keep yourself neat and well turned out.",
        // Libra
        "You are tall and thin. Your features are balanced and refined, and a warm, "
        "ready smile lights up your face. You dress with taste and natural elegance.",
        // Scorpio
        "You have broad body shape. Your eyes are deep and intense, and your gaze can "
        "hold everyone's attention.",
        // Sagittarius
        "You may be medium to tall and well built. Your face is open and cheerful, with "
        "a high forehead and lively eyes. You walk with long, easy strides, like a born "
        "traveler.",
        // Capricorn
        "You have beautiful eyes. You are lean and of average height, with a serious "
        "face that warms when you smile.",
        // Aquarius
        "You have a fair complexion. You are of good height with a well-proportioned "
        "frame and a pleasant, friendly face. There is something distinctive about your "
        "looks, and your unusual sense of dress makes you easy to remember.",
        // Pisces
        "You have the perfect body with the right nose, eyes and mouth. Your eyes are "
        "large and dreamy, your skin is soft, and your expression is sweet and gentle.",
    }},
    // Nature
    {{
        // Aries
        "You are very independent and dynamic. You like to be first in everything you "
        "do, and you are happiest when you are leading the way rather than following "
        "someone else's plan. Your energy is remarkable, and you throw yourself into new "
        "projects with enthusiasm and courage. Challenges do not frighten you; they "
        "bring out the best in you. You speak your mind frankly and expect others to do "
        "the same. At times you can be impatient and quick-tempered, but your anger "
        "fades as fast as it rises and you never hold a grudge. You dislike routine and "
        "lose interest once the thrill of a fresh start has passed, so you may leave "
        "some tasks unfinished. Learning to slow down and see things through will serve "
        "you well. Friends admire your honesty, your warmth and your willingness to "
        "stand up for those who cannot defend themselves. With some patience, there is "
        "almost nothing you cannot achieve.",
        // Taurus
        "You have a powerful and commanding personality. You are steady, patient and "
        "dependable, and once you set your mind on something you pursue it with quiet "
        "determination. You value security and comfort, and you build your life "
        "carefully, one solid step at a time. People trust you because you always keep "
        "your promises. You enjoy the finer things in life, such as good food, music, "
        "art and beautiful surroundings. You are slow to anger, but when pushed too far "
        "your temper can be fierce. Your greatest weakness is stubbornness, for you find "
        "it hard to change your opinions or your habits. Once you learn to bend a "
        "little, your loyalty and strength make you a rock for everyone around you.",
        // Gemini
        "You have an analytical mind. You are curious about everything and love to "
        "gather information, ideas and opinions from all sides. Your wit is quick and "
        "your conversation lively, so you are seldom short of friends or things to talk "
        "about. You can handle several tasks at once and adapt easily to new situations. "
        "Boredom is your worst enemy, and you need constant change and variety to stay "
        "interested. Because your mind moves so fast, you may sometimes appear restless "
        "or inconsistent to others. You can argue either side of any question with equal "
        "skill. Learning to focus on one goal at a time will help you turn your many "
        "talents into lasting success.",
        // Cancer
        "You are a patient person and very emotional. Your feelings run deep, and you "
        "sense the moods of others almost before they speak. You are caring and "
        "protective, above all toward your family and close friends, and home is the "
        "place where you feel most at ease. Your memory is excellent, and you treasure "
        "the past, old photos and family traditions. You can be moody, shifting from "
        "cheerful to withdrawn as your emotions change like the tides. When hurt, you "
        "tend to retreat into your shell rather than face the conflict head-on. Your "
        "kindness and sympathy make people turn to you for comfort, and you rarely let "
        "them down.",
        // Leo
        "You are a leader and can never take orders. You have a natural dignity and "
        "confidence that draws people to you, and you shine most brightly when you are "
        "at the center of attention. Your heart is generous and warm, and you are loyal "
        "to those who earn your trust. You think big, act boldly and expect others to "
        "match your standards. You face hard times bravely and do not give up. Praise "
        "and appreciation mean a great deal to you, while criticism can wound your "
        "pride. At times you may come across as arrogant or domineering, though your "
        "intentions are usually good. You have a flair for drama and a love of fine "
        "living. When you use your strength to lift others up, you become the kind of "
        "leader people gladly follow.",
        // Virgo
        "You are practical and polished. You have a sharp eye for detail and notice "
        "flaws that others overlook. Order and cleanliness matter to you, and you like "
        "everything to be in its proper place. You are fond of lists and plans. You are "
        "hardworking, modest and reliable, and you take pride in doing a job thoroughly "
        "and well. Your mind is logical and methodical, and you prefer facts to fancy "
        "ideas. You are always eager to help, and you show your care through useful acts "
        "rather than grand words. However, your high standards can make you critical of "
        "others and even harder on yourself. You may worry too much over small matters "
        "and find it difficult to relax. Learning to accept that nothing is perfect will "
        "bring you greater peace. Your sincerity, intelligence and quiet devotion to "
        "duty earn you the lasting esteem of everyone who shares your work or home.",
        // Libra
        "Justice means everything to you. You have a strong sense of fairness and cannot "
        "bear to see anyone treated badly. You are charming, polite and diplomatic. Good "
        "manners matter to you, and you have a gift for smoothing over quarrels and "
        "bringing people together. Harmony in your surroundings and relationships is "
        "essential for your happiness. You appreciate beauty in all its forms, from art "
        "and music to a well-arranged room. Because you weigh every side of a question "
        "so carefully, you may take a long time to make decisions. You dislike "
        "confrontation and may sometimes give way just to keep the peace. You enjoy "
        "company and rarely like to be alone for long. Your gracious manner and balanced "
        "judgment make you a trusted friend and a natural peacemaker wherever you go.",
        // Scorpio
        "Mysterious is the first word that comes to mind about this moon sign. You keep "
        "your thoughts and feelings well hidden, and few people ever learn what truly "
        "goes on inside you. You need your privacy. Your emotions are intense and your "
        "will is very strong. Once you decide on a goal, nothing can turn you away from "
        "it. You have keen intuition and can see through pretense almost at once. You "
        "are fiercely loyal to those you love, but you do not forgive betrayal easily. "
        "You can be secretive, jealous and suspicious at times, and you may hold on to "
        "old hurts longer than you should. You are drawn to hidden subjects and enjoy "
        "solving puzzles of every kind. Your courage in a crisis is remarkable. When you "
        "channel your passion into worthy causes, your strength and determination can "
        "transform everything you touch.",
        // Sagittarius
        "You are very optimistic and spontaneous by nature. You love freedom, travel and "
        "adventure, and you are always looking toward the next horizon. Your honesty is "
        "refreshing, though at times your frank words may hurt others without your "
        "meaning to. You have a great sense of humor and a cheerful outlook that lifts "
        "those around you. Philosophy, religion and higher learning appeal to you. You "
        "make friends wherever you go, and people enjoy your company. You hate being "
        "tied down, and routine quickly makes you restless.",
        // Capricorn
        "You want to achieve a lot in life. You are ambitious, disciplined and patient, "
        "and you are willing to work hard for years to reach your goals. You plan "
        "carefully and rarely act on impulse. You are sensible about money and time. "
        "Responsibility comes naturally to you, and others often rely on you to keep "
        "things in order. You honor tradition, just authority and hard-won success. You "
        "may seem reserved or serious at first, but those who know you well discover a "
        "dry sense of humor and a loyal heart. You can be too cautious at times, and you "
        "may worry about the future more than you need to. Success often comes to you "
        "later in life, but it is lasting when it arrives. Remember to make time for "
        "rest and pleasure along the way.",
        // Aquarius
        "You are a thinker, philosopher and an idealist. Your mind is original and "
        "inventive, and you enjoy exploring new ideas and unusual ways of looking at the "
        "world. You care deeply about humanity as a whole and want to make society "
        "fairer for everyone. You value your freedom and independence highly. Science, "
        "invention and causes that serve the wider community attract you. You are "
        "friendly and sociable, yet you can seem a little detached on a personal level. "
        "You may be stubborn about your beliefs once you have formed them. Rules that "
        "make no sense irritate you. Your vision and originality often place you ahead "
        "of your time.",
        // Pisces
        "You are very creative and soft by nature. Your imagination is rich, and you may "
        "express it through art, music, poetry or simply your daydreams. You are deeply "
        "sensitive and compassionate, and you feel the sorrows of others as if they were "
        "your own. You are kind, gentle and always willing to help anyone in need. Your "
        "intuition is strong, and you often understand things without being told. You "
        "are spiritual at heart and find comfort in devotion. However, you may find "
        "harsh realities hard to face and sometimes escape into a world of your own. You "
        "can be easily influenced and may trust people too readily. Learning to set "
        "healthy limits will protect your tender heart and let your gifts flourish.",
    }},
    // Career and finance
    {{
        // Aries
        "You are ambitious by nature. You do well in careers that reward courage and "
        "initiative, such as the army, sports, surgery or a business of your own. Money "
        "comes and goes fast.",
        // Taurus
        "You love spending on luxurious things. Even so, you are smart with money and "
        "know how to build wealth over time. Banking, finance, property, farming and the "
        "arts suit you well. You work with patience and care, and your reliability earns "
        "you the trust of employers and clients alike.",
        // Gemini
        "You will do very well in jobs that need interaction with people. Writing, "
        "teaching, sales, media and travel all suit your quick mind and gift for words. "
        "Your income may come from many sources. Keep close track of your spending.",
        // Cancer
        "You have an artistic bent of mind. You may also do well in caring professions "
        "such as nursing, catering or hospitality. You save carefully and prefer to keep "
        "money aside for a rainy day.",
        // Leo
        "You can do well in professions that need you to be in the limelight. Politics, "
        "management, drama, teaching and government service bring out your best. You "
        "earn well and spend generously, sometimes more than is wise.",
        // Virgo
        "You are skilled in music and dance. You also excel at accounts, research and "
        "medicine. You manage your money with utmost care.",
        // Libra
        "You could make a career of the artistic kind. Law, fashion, interior design and "
        "diplomacy also suit you. You earn well but find lovely things hard to resist.",
        // Scorpio
        "You may come in possession of sudden legacies and gifts. You are well suited to "
        "research, investigation, surgery, insurance or any other work that involves "
        "uncovering hidden matters. You handle other people's money wisely and keep your "
        "own finances private.",
        // Sagittarius
        "You always yearn to learn more in life. Teaching, law, publishing, travel and "
        "religious work suit your broad outlook. You may be generous to a fault with "
        "money, so it pays to plan ahead and save. Foreign contacts may bring you good "
        "fortune.",
        // Capricorn
        "Material wealth means a lot to you. You work steadily toward positions of "
        "authority in business, administration, law or government. Your savings swell "
        "with the years.",
        // Aquarius
        "You will do very well in public related jobs and businesses. Science, "
        "technology, social work and research also appeal to your inventive mind. Your "
        "income may rise and fall unexpectedly at times.",
        // Pisces
        "You are artistically inclined. Music, painting, films, writing and healing work "
        "all suit your gentle and imaginative nature. You may not care much about money, "
        "so a trusted friend or adviser can help you manage your savings better.",
    }},
    // Love and domestic life
    {{
        // Aries
        "You are a romantic to the core by nature. You fall in love quickly and pursue "
        "the one you desire with passion and boldness. You need a partner who can match "
        "your energy and still allow you space to be yourself.",
        // Taurus
        "You may not express your emotions but you are still a romantic at heart. You "
        "are loyal and caring, and a settled family life brings you joy.",
        // Gemini
        "You are blessed with a long life. You enjoy a lively home filled with "
        "conversation and laughter. In love you seek a partner who stimulates your mind, "
        "and you may have more than one serious relationship in your youth.",
        // Cancer
        "Parents will mean a lot to you. Your home is your sanctuary, and you devote "
        "yourself to the comfort of your entire family. In love you are tender and "
        "loyal, and you need a partner who offers emotional security in return.",
        // Leo
        "You love living life king size. In romance you are warm, generous and devoted, "
        "and you enjoy showering your partner with gifts and attention. You expect "
        "admiration and loyalty in return. Your home is likely to be comfortable and "
        "stylish, a place where you love to entertain friends. You are a proud and "
        "protective parent.",
        // Virgo
        "You are not romantic at all. All your relationships are planned and analyzed.    But "
        "you provide well for your partners. You make responsible parents.",
        // Libra
        "Being peaceful and loving by nature, you have good love life. Marriage is "
        "precious to you, and you work hard to keep harmony at home. Your partner is "
        "likely to be charming and refined.",
        // Scorpio
        "Your possessive nature may create problems in life.  You love with great "
        "intensity and expect complete devotion from your partner. Learning to trust "
        "more will make your relationships calmer and happier. Once committed, you are "
        "faithful for life and guard your family fiercely.",
        // Sagittarius
        "You may have some problem dealing with other people. Your blunt honesty and "
        "love of freedom can make close ties difficult at times. You need a partner who "
        "shares your sense of adventure and gives you space. Once you find that person, "
        "you are a cheerful, generous companion and a fun-loving parent.",
        // Capricorn
        "Domestic life will have its share of problems mainly because of inability of "
        "household members to get along with each other. You may have to act as the "
        "steady hand that holds everyone together. In love you are cautious and slow to "
        "commit, but you are deeply faithful once you do. Your marriage often grows "
        "sweeter with time.",
        // Aquarius
        "You are influenced more by your friends than your relatives. In love you value "
        "friendship and freedom above all. You may marry late, or choose a partner who "
        "is quite unlike you.",
        // Pisces
        "Your children will be very fortunate to be born to you. You are a gentle, "
        "devoted parent and a tender, understanding partner. In love you are romantic "
        "and giving, sometimes to the point of self-sacrifice. Choose a partner who "
        "truly values your kindness and who will never take advantage of it.",
    }},
    // Health
    {{
        // Aries
        "You may be prone to blood circulation problems, head related illnesses and BP "
        "issues. A calm mind and rest keep you well.",
        // Taurus
        "You may not enjoy good health all the time. Throat and heart ailments may be "
        "common.",
        // Gemini
        "You may have some problems of the sexual nature. Your lungs and nerves also "
        "need extra care and enough rest.",
        // Cancer
        "You may have stress and mental illnesses because of your highly emotional and "
        "sensitive nature. Your stomach is delicate too, so calm habits and plain meals "
        "suit you.",
        // Leo
        "Heart problems may occur. Take good care of your back and spine. Moderate "
        "exercise and a balanced diet will keep you strong.",
        // Virgo
        "Your intestine and liver may give you some problems. Else you enjoy sound "
        "health.",
        // Libra
        "Kidney and liver are your weak parts. Drinking plenty of water will help you to "
        "stay healthy.",
        // Scorpio
        "You may have problems from piles and colic. A light diet rich in fiber, with "
        "fresh fruits, will keep you well.",
        // Sagittarius
        "Your body gives out too much heat, which may create a few problems. Your hips "
        "and thighs may also need care. Cooling foods and daily exercise bring relief.",
        // Capricorn
        "You may be prone to gout and blood related problems. Look after your joints, "
        "bones and teeth.",
        // Aquarius
        "Your legs and eyes may be weak. Poor circulation may also trouble you at times. "
        "Gentle daily walks and yearly eye checks will help you stay fit and active.",
        // Pisces
        "Common cold will be your constant companion. Your feet need care as well. Warm "
        "clothing, hot drinks and rest will keep you healthy.",
    }},
}};

}  // namespace velmora::analysis
